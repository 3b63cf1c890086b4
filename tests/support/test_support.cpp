#include "tests/support/test_support.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// No test reads or writes the settings, progress or log of whoever runs it:
// the user's folders point into the build tree, for the test and for every
// program it starts.
const bool kTestHome = [] {
    const std::string home = THALOMIR_TEST_HOME;
    SetEnv("HOME", home.c_str());
    SetEnv("XDG_CONFIG_HOME", (home + "/config").c_str());
    SetEnv("XDG_DATA_HOME", (home + "/share").c_str());
    SetEnv("XDG_STATE_HOME", (home + "/state").c_str());
    return true;
}();

}  // namespace

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : ""); // an empty value removes it
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

ScopedEnv::ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> vars) {
    for (auto [name, value] : vars) {
        const char* old = getenv(name);
        saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        SetEnv(name, value);
    }
}

ScopedEnv::~ScopedEnv() {
    for (auto& [name, value] : saved) SetEnv(name.c_str(), value ? value->c_str() : nullptr);
}

bool LinkOrCopy(const std::string& from, const std::string& to) {
    std::error_code ec;
    const bool folder = fs::is_directory(from);
#ifdef _WIN32
    // Wine makes no symbolic links: hard links where it can, else copies.
    if (folder) {
        if (!fs::create_directory(to, ec)) return false;
        for (const fs::directory_entry& e : fs::directory_iterator(from, ec))
            if (!LinkOrCopy(e.path().string(), (fs::path(to) / e.path().filename()).string())) return false;
        return !ec;
    }
    fs::create_hard_link(from, to, ec);
    if (ec) fs::copy_file(from, to, ec);
#else
    if (folder)
        fs::create_directory_symlink(from, to, ec);
    else
        fs::create_symlink(from, to, ec);
#endif
    return !ec;
}

std::string MakeTempDir() {
    std::random_device random;
    std::error_code ec;
    const fs::path tmp = fs::temp_directory_path(ec);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = tmp / ("thalomir-test-" + std::to_string(random()));
        // Fails when the name is taken: another test's folder is never reused.
        if (fs::create_directory(dir, ec)) return dir.generic_string();
    }
    return "";
}

std::string CampaignText(int levels) {
    std::ostringstream s;
    for (int n = 1; n <= levels; ++n)
        s << "[level" << n << "]\nfile=res\\lvl" << n << ".txt\ntitle=Level " << n
          << "\nx=" << 100 * n << "\ny=" << 60 + 70 * n << "\n";
    return s.str();
}

std::string ShippedDataText(const std::string& name) {
    std::ifstream in(std::string(THALOMIR_SHIPPED_DATA) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TestDataDir() {
    const char* d = getenv("THALOMIR_TEST_DATA");
    return d ? d : "";
}

HeadlessEngine::HeadlessEngine(const std::string& dataDir, bool portable) {
    dir = dataDir;
    if (dir.empty()) {
        dir = MakeTempDir();
        ownDir = true;
    }
    tide = tideCreate(TIDE_VERSION);
    tide->System_SetState(TIDE_HEADLESS, true);
    tide->System_SetState(TIDE_DATAPATH, dir.c_str());
    tide->System_SetState(TIDE_PORTABLE, portable);
    tide->System_SetState(TIDE_SCREENWIDTH, 1024);
    tide->System_SetState(TIDE_SCREENHEIGHT, 768);
    tide->System_SetState(TIDE_FRAMEFUNC, (tideCallback) nullptr);
    tide->System_SetState(TIDE_RENDERFUNC, (tideCallback) nullptr);
    tide->System_SetState(TIDE_INIFILE, (const char*)nullptr);
    tide->System_SetState(TIDE_FXVOLUME, 100);
    tide->System_SetState(TIDE_MUSVOLUME, 100);
    tide->System_SetState(TIDE_STREAMVOLUME, 100);
    EXPECT_TRUE(tide->System_Initiate()) << tide->System_GetErrorMessage();
    hl = tideGetHeadless();
}

HeadlessEngine::~HeadlessEngine() {
    tide->System_Shutdown();
    tide->Release();
    if (ownDir && !dir.empty()) {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
}

std::string HeadlessEngine::Path(const std::string& rel) const { return dir + "/" + rel; }

void HeadlessEngine::WriteBytes(const std::string& rel, const void* data, size_t size) const {
    fs::path p = Path(rel);
    fs::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(static_cast<const char*>(data), std::streamsize(size));
}

void HeadlessEngine::WriteFile(const std::string& rel, const std::string& contents) const {
    WriteBytes(rel, contents.data(), contents.size());
}

std::string HeadlessEngine::ReadFile(const std::string& rel) const {
    std::ifstream f(Path(rel), std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void HeadlessEngine::WritePng(const std::string& rel, int w, int h,
                              const std::vector<DWORD>& argb) const {
    fs::path p = Path(rel);
    fs::create_directories(p.parent_path());
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(s, nullptr);
    for (int y = 0; y < h; y++)
        memcpy(static_cast<char*>(s->pixels) + size_t(y) * size_t(s->pitch), &argb[size_t(y) * size_t(w)],
               size_t(w) * 4);
    EXPECT_EQ(IMG_SavePNG(s, p.string().c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(s);
}

void HeadlessEngine::WriteSolidPng(const std::string& rel, int w, int h, DWORD argb) const {
    WritePng(rel, w, h, std::vector<DWORD>(size_t(w) * size_t(h), argb));
}

void HeadlessEngine::WriteWav(const std::string& rel) const {
    const int samples = 441;
    std::string d;
    auto u32 = [&](uint32_t v) { d.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { d.append(reinterpret_cast<const char*>(&v), 2); };
    d += "RIFF";
    u32(36 + samples * 2);
    d += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(44100);
    u32(44100 * 2);
    u16(2);
    u16(16);
    d += "data";
    u32(samples * 2);
    d.append(samples * 2, '\0');
    WriteFile(rel, d);
}

bool HeadlessEngine::LogHas(const std::string& text) const { return LogCount(text) > 0; }

int HeadlessEngine::LogCount(const std::string& text) const {
    int n = 0;
    for (const std::string& l : hl->Log())
        if (l.find(text) != std::string::npos) n++;
    return n;
}
