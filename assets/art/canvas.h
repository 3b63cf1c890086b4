// A cairo drawing surface with the handful of shape, gradient and pixel
// helpers the generators share, and a deterministic PNG writer.
#pragma once

#include <cairo.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace art {

struct Color {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with a separate alpha.
Color rgb(unsigned hex, double a = 1.0);
Color mix(const Color& a, const Color& b, double t);
Color withAlpha(const Color& c, double a);

struct Stop {
    double offset;
    Color color;
};

class Canvas {
public:
    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return surf; }
    int width() const { return w; }
    int height() const { return h; }

    // Writes the surface as PNG; prints the reason and returns false on failure.
    bool save(const std::string& path) const;

    // Draws `src` with its top-left corner at (x, y), scaled by `scale`.
    void draw(const Canvas& src, double x, double y, double scale = 1.0) const;

    // Calls `fn` for every pixel with straight (not premultiplied) channels
    // 0..1; the function may change them.
    void forEachPixel(const std::function<void(int x, int y, Color&)>& fn);

private:
    int w, h;
    cairo_surface_t* surf;
    cairo_t* context;
};

// Path builders (they add to the current path).
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// Painters; each consumes the current path unless `keep` is set.
void fill(cairo_t* cr, const Color& c, bool keep = false);
void stroke(cairo_t* cr, const Color& c, double width, bool keep = false);
void fillStroke(cairo_t* cr, const Color& inside, const Color& line, double width);
void linearFill(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<Stop> stops, bool keep = false);
void radialFill(cairo_t* cr, double cx, double cy, double r0, double r1,
                std::initializer_list<Stop> stops, bool keep = false);

struct Point {
    double x, y;
};

// A closed outline around the polyline `centre`, `w0` wide at its start and
// `w1` at its end, with round ends: tentacles, seaweed, limbs.
void taper(cairo_t* cr, const std::vector<Point>& centre, double w0, double w1);

// Cartoon details.
void bubble(cairo_t* cr, double x, double y, double r, double alpha = 1.0);
void softGlow(cairo_t* cr, double x, double y, double r, const Color& c);
// An aiming crosshair (ring and four arms) in `c` over an ink outline.
void crosshair(cairo_t* cr, double x, double y, const Color& c);

// Pixel filter: blends every pixel toward its grey value by `amount` and
// scales its brightness by `brightness`.
void desaturate(Canvas& c, double amount, double brightness);

}  // namespace art
