#include "engine/headless_backend.h"

#include <cstring>

#include "engine/clock.h"
#include "engine/core.h"

namespace {

bool startsWith(const unsigned char* d, size_t n, size_t at, const char* magic) {
    size_t m = strlen(magic);
    return n >= at + m && memcmp(d + at, magic, m) == 0;
}

// Recognises the formats the real mixer plays: WAV, Ogg, FLAC, MP3 and the
// common tracker modules.
bool looksLikeSound(tideSoundType type, const void* data, size_t n) {
    const unsigned char* d = static_cast<const unsigned char*>(data);
    if (startsWith(d, n, 0, "RIFF") && startsWith(d, n, 8, "WAVE")) return true;
    if (startsWith(d, n, 0, "OggS") || startsWith(d, n, 0, "fLaC") || startsWith(d, n, 0, "ID3"))
        return true;
    if (n >= 2 && d[0] == 0xFF && (d[1] & 0xE0) == 0xE0) return true; // MP3 frame
    if (type != TIDE_SOUND_EFFECT) {
        if (startsWith(d, n, 0, "Extended Module:") || startsWith(d, n, 44, "SCRM") ||
            startsWith(d, n, 0, "IMPM"))
            return true;
        static const char* mods[] = {"M.K.", "M!K!", "FLT4", "FLT8", "4CHN", "6CHN", "8CHN"};
        for (const char* m : mods)
            if (startsWith(d, n, 1080, m)) return true;
    }
    return false;
}

}  // namespace

void* tideHeadlessBackend::SoundLoad(tideSoundType type, const void* data, size_t size) {
    if (!looksLikeSound(type, data, size)) return nullptr;
    return new int(type);
}

int tideHeadlessBackend::SoundPlay(tideSoundType type, void*, bool, int) {
    int ch = next++;
    // Effects end at once; music and streams play until stopped.
    if (type != TIDE_SOUND_EFFECT) playing.insert(ch);
    return ch;
}

double tideHeadlessBackend::Now() { return tideClockMs(); }

void tideHeadlessBackend::Sleep(double seconds) { tideClockSleep(seconds); }

tideBackend* tideCreateHeadlessBackend() { return new tideHeadlessBackend(); }
