// INI reading and the in-place update: the pure text functions, the engine's
// Ini_* calls on a file served from memory, and now and then Ini_SetInt on a
// real file. The input is the INI text, then (after NULs) a section, a key and
// a value; missing parts take the names the game uses.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <strings.h>

#include "engine/ini.h"
#include "fuzz/fuzz_engine.h"

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

bool Trimmed(const std::string& s) {
    return s.empty() || (!Blank(s.front()) && !Blank(s.back()));
}

// Names and values that a line of INI text can carry unchanged: no line
// breaks, no blanks around them (reading trims them), no ']' in a section
// name, no '=' in a key, no key that reads as a comment or a header, and no
// value wrapped in a pair of quotes (reading removes them).
bool Representable(const std::string& section, const std::string& key, const std::string& value) {
    if (HasLineBreak(section) || !Trimmed(section) || section.find(']') != std::string::npos)
        return false;
    if (HasLineBreak(key) || !Trimmed(key) || key.find('=') != std::string::npos) return false;
    if (!key.empty() && (key[0] == ';' || key[0] == '#' || key[0] == '[')) return false;
    if (HasLineBreak(value) || !Trimmed(value)) return false;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return false;
    return true;
}

[[noreturn]] void Fail(const char* what, const std::string& section, const std::string& key) {
    std::fprintf(stderr, "INI: %s (section '%s', key '%s')\n", what, section.c_str(), key.c_str());
    abort();
}

bool SameFloat(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// The engine's reads must agree with the text functions.
void CheckEngineReads(FuzzEngine& fe, const std::string& text, const std::string& section,
                      const std::string& key) {
    fe.hl->SetMemoryFile("Res\\fuzz.ini", text);
    fe.tide->System_SetState(TIDE_INIFILE, "Res\\fuzz.ini");
    const char* s = section.c_str();
    const char* k = key.c_str();
    std::string v;
    bool found = tideIni::Get(text, s, k, v);

    if (fe.tide->Ini_GetString(s, k, "\x01") != (found ? v : std::string("\x01")))
        Fail("Ini_GetString differs from the text's value", section, key);
    // A value that is no number keeps the default.
    int n = -7;
    float x = -7.5f;
    if (found) {
        tideIni::ReadInt(v, n);
        tideIni::ReadFloat(v, x);
    }
    if (fe.tide->Ini_GetInt(s, k, -7) != n)
        Fail("Ini_GetInt differs from the text's value", section, key);
    if (!SameFloat(fe.tide->Ini_GetFloat(s, k, -7.5f), x))
        Fail("Ini_GetFloat differs from the text's value", section, key);
}

// Ini_SetInt on a real file: the file must afterwards hold the number.
void CheckEngineWrite(FuzzEngine& fe, const std::string& text, const std::string& section,
                      const std::string& key, int n) {
    std::string path = fe.dir + "/disk.ini";
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f << text;
    }
    fe.tide->System_SetState(TIDE_INIFILE, "disk.ini");
    fe.tide->Ini_SetInt(section.c_str(), key.c_str(), n);
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    std::string v;
    if (!tideIni::Get(ss.str(), section.c_str(), key.c_str(), v) || v != std::to_string(n))
        Fail("Ini_SetInt did not leave the number in the file", section, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    std::vector<std::string> parts = FuzzSplit(data, size, 4);
    const std::string& text = parts[0];
    std::string section = parts.size() > 1 ? parts[1] : "options";
    std::string key = parts.size() > 2 ? parts[2] : "music";
    std::string value = parts.size() > 3 ? parts[3] : "42";

    std::string v;
    if (tideIni::Get(text, section.c_str(), key.c_str(), v)) {
        tideIni::ToInt(v);
        tideIni::ToFloat(v);
    }
    tideIni::ToInt(value);
    tideIni::ToFloat(value);
    CheckEngineReads(fe, text, section, key);

    std::string out = tideIni::Set(text, section.c_str(), key.c_str(), value);
    if (Representable(section, key, value)) {
        if (!tideIni::Get(out, section.c_str(), key.c_str(), v) || v != value)
            Fail("a value set is not read back", section, key);
        // Other keys keep their values.
        const char* probes[][2] = {{"options", "music"}, {"unit1", "name"}, {"aqua", "range"}};
        for (auto& p : probes) {
            if (strcasecmp(p[0], section.c_str()) == 0 && strcasecmp(p[1], key.c_str()) == 0)
                continue;
            std::string before, after;
            bool had = tideIni::Get(text, p[0], p[1], before);
            bool has = tideIni::Get(out, p[0], p[1], after);
            if (had != has || before != after) Fail("setting one key changed another", p[0], p[1]);
        }
        // Writing to disk is slow next to the rest; a few inputs in a hundred do it.
        if (size % 37 == 0) CheckEngineWrite(fe, text, section, key, tideIni::ToInt(value));
    }
    fe.Reset();
    return 0;
}
