#include "engine/ini.h"

#include <strings.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <climits>
#include <vector>

namespace tideIni {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) b++;
    while (e > b && blank(s[e - 1])) e--;
    return s.substr(b, e - b);
}

struct Line {
    size_t begin, end; // the line without its line feed
};

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t i = 0;
    while (i < text.size()) {
        size_t nl = text.find('\n', i);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back({i, nl});
        i = nl + 1;
    }
    return lines;
}

// The section a header line opens, or false when the line is no header.
bool headerName(const std::string& line, std::string& name) {
    std::string t = trim(line);
    if (t.size() < 2 || t[0] != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// Splits "key = value"; false for comments, blank lines and lines without '='.
bool keyLine(const std::string& line, std::string& key, size_t& valueStart) {
    std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return false;
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = trim(line.substr(0, eq));
    valueStart = eq + 1;
    while (valueStart < line.size() && blank(line[valueStart])) valueStart++;
    return true;
}

bool same(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

bool Get(const std::string& text, const char* section, const char* key, std::string& value) {
    if (!section || !key) return false;
    bool inSection = false;
    for (const Line& l : splitLines(text)) {
        std::string line = text.substr(l.begin, l.end - l.begin);
        std::string name;
        if (headerName(line, name)) {
            inSection = same(name, section);
            continue;
        }
        std::string k;
        size_t vs;
        if (inSection && keyLine(line, k, vs) && same(k, key)) {
            std::string v = trim(line.substr(vs));
            if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
                v = v.substr(1, v.size() - 2);
            value = v;
            return true;
        }
    }
    return false;
}

std::string Set(const std::string& text, const char* section, const char* key,
                const std::string& value) {
    std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    bool inSection = false, inFirst = false, seenFirst = false;
    size_t insertAt = std::string::npos; // end of the first matching section's last non-blank line
    for (const Line& l : splitLines(text)) {
        std::string line = text.substr(l.begin, l.end - l.begin);
        std::string name;
        if (headerName(line, name)) {
            inSection = same(name, section);
            inFirst = inSection && !seenFirst;
            if (inFirst) {
                seenFirst = true;
                insertAt = l.end;
            }
            continue;
        }
        std::string k;
        size_t vs;
        if (inSection && keyLine(line, k, vs) && same(k, key)) {
            // Keep the key's spelling and spacing, replace the value only.
            bool cr = !line.empty() && line.back() == '\r';
            return text.substr(0, l.begin + vs) + value + (cr ? "\r" : "") + text.substr(l.end);
        }
        if (inFirst && !trim(line).empty()) insertAt = l.end;
    }
    std::string entry = std::string(key) + "=" + value + eol;
    if (insertAt != std::string::npos) {
        if (insertAt < text.size()) // a line feed ends that line
            return text.substr(0, insertAt + 1) + entry + text.substr(insertAt + 1);
        return text + eol + entry;
    }
    std::string out = text;
    if (!out.empty() && out.back() != '\n') out += eol;
    out += "[" + std::string(section) + "]" + eol + entry;
    return out;
}

int ToInt(const std::string& value) {
    long long v = strtoll(value.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

float ToFloat(const std::string& value) {
    double d = strtod(value.c_str(), nullptr);
    if (std::isnan(d)) return float(d);
    if (d > FLT_MAX) return INFINITY;
    if (d < -FLT_MAX) return -INFINITY;
    return float(d);
}

}  // namespace tideIni
