#include "fuzz/fuzz_engine.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string MakeDataDir() {
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string tmpl = (base / "thalomir-fuzz-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data())) {
        std::fprintf(stderr, "fuzz: can't make a data folder under %s\n", base.c_str());
        abort();
    }
    return buf.data();
}

std::string g_dir;

void RemoveDataDir() {
    std::error_code ec;
    if (!g_dir.empty()) fs::remove_all(g_dir, ec);
}

}  // namespace

FuzzEngine::FuzzEngine() {
    dir = g_dir = MakeDataDir();
    atexit(RemoveDataDir);
    tide = tideCreate(TIDE_VERSION);
    tide->System_SetState(TIDE_HEADLESS, true);
    tide->System_SetState(TIDE_DATAPATH, dir.c_str());
    tide->System_SetState(TIDE_PORTABLE, true); // never the settings of whoever runs it
    tide->System_SetState(TIDE_SCREENWIDTH, 1024);
    tide->System_SetState(TIDE_SCREENHEIGHT, 768);
    tide->System_SetState(TIDE_LOGFILE, (const char*)nullptr);
    if (!tide->System_Initiate()) {
        std::fprintf(stderr, "fuzz: the engine does not start: %s\n",
                     tide->System_GetErrorMessage());
        abort();
    }
    hl = tideGetHeadless();
}

FuzzEngine& FuzzEngine::Get() {
    // Never destroyed: objects of a target may still hold engine references
    // when static destructors run.
    static FuzzEngine* engine = new FuzzEngine();
    return *engine;
}

void FuzzEngine::Reset() {
    hl->ClearMemoryFiles();
    hl->ClearLog();
    hl->ClearSounds();
    tide->Channel_StopAll();
}

DWORD FuzzEngine::TextureMark() {
    HTEXTURE probe = tide->Texture_Create(1, 1);
    tide->Texture_Free(probe);
    return probe;
}

void FuzzEngine::CheckTexturesFreed(DWORD mark, const char* owner) {
    DWORD end = TextureMark();
    for (DWORD h = mark + 1; h < end; ++h) {
        if (tide->Texture_GetWidth(h) != 0) {
            std::fprintf(stderr, "fuzz: %s left texture %u alive\n", owner, h);
            abort();
        }
    }
}

std::vector<std::string> FuzzSplit(const uint8_t* data, size_t size, size_t maxParts) {
    std::vector<std::string> parts;
    const char* p = reinterpret_cast<const char*>(data);
    const char* end = p + size;
    while (parts.size() + 1 < maxParts) {
        const char* nul = static_cast<const char*>(memchr(p, 0, size_t(end - p)));
        if (!nul) break;
        parts.emplace_back(p, nul);
        p = nul + 1;
    }
    parts.emplace_back(p, end);
    return parts;
}

const std::string& FuzzPng() {
    static const std::string png = [] {
        std::string out;
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_ARGB8888);
        std::vector<char> buf(4096);
        SDL_RWops* rw = SDL_RWFromMem(buf.data(), int(buf.size()));
        if (s && rw) {
            SDL_FillRect(s, nullptr, 0xFFFFFFFF);
            if (IMG_SavePNG_RW(s, rw, 0) == 0) out.assign(buf.data(), size_t(SDL_RWtell(rw)));
        }
        if (rw) SDL_RWclose(rw);
        if (s) SDL_FreeSurface(s);
        if (out.empty()) {
            std::fprintf(stderr, "fuzz: can't make the PNG image: %s\n", IMG_GetError());
            abort();
        }
        return out;
    }();
    return png;
}

const std::string& FuzzWav() {
    // A RIFF/WAVE header for 16-bit mono at 22050 Hz with no samples.
    static const std::string wav("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0"
                                 "\x44\xac\0\0\x02\0\x10\0data\0\0\0\0",
                                 44);
    return wav;
}

float FuzzFloat(const std::string& bytes, size_t at, float def) {
    if (bytes.size() < at + sizeof(float)) return def;
    float f;
    memcpy(&f, bytes.data() + at, sizeof f);
    return f;
}
