// The start-up floor: what any program of this kind pays before its first
// frame. It opens the same kind of window and GL 3.3 core context as the game,
// decodes one 1024x768 picture, draws it once, reads the frame back and exits.
// It prints its wall and CPU time to that frame and its peak resident memory,
// the figures the game's start-up and memory are measured against.
//   startup_floor PICTURE.png
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "tools/process_stats.h"

namespace {

GLuint Shader(GLenum kind, const char* src) {
    GLuint s = glCreateShader(kind);
    glShaderSource(s, 1, &src, nullptr);
    glCompileShader(s);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_floor PICTURE.png\n");
        return 2;
    }
    if (!getenv("SDL_VIDEODRIVER") && !getenv("DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* win = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024,
                                       768, SDL_WINDOW_OPENGL);
    SDL_GLContext ctx = win ? SDL_GL_CreateContext(win) : nullptr;
    if (!ctx) {
        std::fprintf(stderr, "startup_floor: no GL 3.3 context: %s\n", SDL_GetError());
        return 1;
    }

    SDL_Surface* img = IMG_Load(argv[1]);
    SDL_Surface* argb = img ? SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_FreeSurface(img);
    if (!argb) {
        std::fprintf(stderr, "startup_floor: cannot read %s\n", argv[1]);
        return 1;
    }

    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, argb->pitch / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, argb->w, argb->h, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 argb->pixels);
    SDL_FreeSurface(argb);

    const char* vs =
        "#version 330 core\n"
        "out vec2 uv;\n"
        "void main() { uv = vec2(gl_VertexID & 1, gl_VertexID >> 1);\n"
        "  gl_Position = vec4(uv * 2.0 - 1.0, 0.0, 1.0); }\n";
    const char* fs =
        "#version 330 core\n"
        "in vec2 uv; uniform sampler2D t; out vec4 c;\n"
        "void main() { c = texture(t, vec2(uv.x, 1.0 - uv.y)); }\n";
    GLuint prog = glCreateProgram();
    glAttachShader(prog, Shader(GL_VERTEX_SHADER, vs));
    glAttachShader(prog, Shader(GL_FRAGMENT_SHADER, fs));
    glLinkProgram(prog);
    GLuint vao = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glUseProgram(prog);
    glViewport(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    std::vector<unsigned char> frame(size_t(1024) * 768 * 4);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    SDL_GL_SwapWindow(win);

    double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("first frame: %.1f ms wall, %.1f ms CPU\npeak resident memory: %.1f MiB\n", wall,
                ProcessCpuMillis(), ProcessPeakMiB());
    SDL_GL_DeleteContext(ctx);
    SDL_DestroyWindow(win);
    SDL_Quit();
    return 0;
}
