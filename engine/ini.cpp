#include "engine/ini.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <climits>
#include <unordered_map>
#include <utility>
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

bool same(const std::string& a, const char* b) {
    size_t n = a.size();
    for (size_t i = 0; i < n; ++i)
        if (!b[i] || std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return b[n] == 0;
}

// The value of a key line from `valueStart`: trimmed, one pair of quotes removed.
std::string valueOf(const std::string& line, size_t valueStart) {
    std::string v = trim(line.substr(valueStart));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    return v;
}

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
            value = valueOf(line, vs);
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

bool ReadInt(const std::string& value, int& out) {
    char* end = nullptr;
    (void)strtoll(value.c_str(), &end, 10);
    if (end == value.c_str()) return false;
    out = ToInt(value);
    return true;
}

bool ReadFloat(const std::string& value, float& out) {
    char* end = nullptr;
    (void)strtod(value.c_str(), &end);
    if (end == value.c_str()) return false;
    out = ToFloat(value);
    return true;
}

}  // namespace tideIni

// ---------------------------------------------------------------------------
// The parsed file

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

struct tideIniFile::Data {
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;  // first of each name only
        std::unordered_map<std::string, size_t> byKey;          // lower-case key -> index in keys
    };
    std::vector<Section> sections;
    std::unordered_map<std::string, size_t> byName;  // lower-case section name -> index
};

tideIniFile::tideIniFile(const std::string& text, std::string fileName) : name(std::move(fileName)) {
    auto d = std::make_shared<Data>();
    Data::Section* cur = nullptr;  // keys before the first header belong to no section
    size_t i = 0;
    while (i < text.size()) {
        size_t nl = text.find('\n', i);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(i, nl - i);
        i = nl + 1;
        std::string header, key;
        size_t vs = 0;
        if (tideIni::headerName(line, header)) {
            auto [it, added] = d->byName.emplace(lower(header), d->sections.size());
            if (added) d->sections.push_back({header, {}, {}});
            cur = &d->sections[it->second];
        } else if (cur && tideIni::keyLine(line, key, vs)) {
            if (cur->byKey.emplace(lower(key), cur->keys.size()).second)
                cur->keys.emplace_back(key, tideIni::valueOf(line, vs));
        }
    }
    data = std::move(d);
}

bool tideIniFile::Empty() const { return !data || data->sections.empty(); }

std::vector<std::string> tideIniFile::Sections() const {
    std::vector<std::string> out;
    if (data)
        for (const Data::Section& s : data->sections) out.push_back(s.name);
    return out;
}

tideIniSection tideIniFile::Section(std::string_view section) const {
    tideIniSection s;
    s.name = std::string(section);
    if (!data) return s;
    auto it = data->byName.find(lower(section));
    if (it == data->byName.end()) return s;
    s.data = data;
    s.index = it->second;
    s.name = data->sections[it->second].name;
    return s;
}

bool tideIniFile::Has(std::string_view section, std::string_view key) const {
    return Section(section).Has(key);
}

std::string tideIniFile::GetString(std::string_view section, std::string_view key,
                                   const std::string& def) const {
    return Section(section).GetString(key, def);
}

int tideIniFile::GetInt(std::string_view section, std::string_view key, int def) const {
    return Section(section).GetInt(key, def);
}

float tideIniFile::GetFloat(std::string_view section, std::string_view key, float def) const {
    return Section(section).GetFloat(key, def);
}

const std::string* tideIniSection::Find(std::string_view key) const {
    if (!data) return nullptr;
    const auto& s = data->sections[index];
    auto it = s.byKey.find(lower(key));
    return it == s.byKey.end() ? nullptr : &s.keys[it->second].second;
}

std::vector<std::string> tideIniSection::Keys() const {
    std::vector<std::string> out;
    if (data)
        for (const auto& [k, v] : data->sections[index].keys) out.push_back(k);
    return out;
}

bool tideIniSection::Has(std::string_view key) const { return Find(key) != nullptr; }

std::string tideIniSection::GetString(std::string_view key, const std::string& def) const {
    const std::string* v = Find(key);
    return v ? *v : def;
}

int tideIniSection::GetInt(std::string_view key, int def) const {
    const std::string* v = Find(key);
    int out = def;
    return v && tideIni::ReadInt(*v, out) ? out : def;
}

float tideIniSection::GetFloat(std::string_view key, float def) const {
    const std::string* v = Find(key);
    float out = def;
    return v && tideIni::ReadFloat(*v, out) ? out : def;
}
