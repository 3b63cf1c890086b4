#include "engine/web/web_audio.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

extern "C" {
int tideAudioOpen();
void tideAudioClose();
int tideAudioLoad(const void* data, int size);
void tideAudioFree(int id);
int tideAudioPlay(int id, int loop, float gain, int isMusic);
void tideAudioSetGain(int channel, float gain);
void tideAudioStop(int channel);
int tideAudioPlaying(int channel);
}

namespace {

// Stands in for every sound while there is no audio: loads "succeed" and
// plays do nothing.
char silentSound;

float gainOf(int volume) { return float(std::clamp(volume, 0, 100)) / 100.0f; }

bool isMusic(tideSoundType type) { return type != TIDE_SOUND_EFFECT; }

// The browser decodes in the background and cannot say at once whether the
// bytes are good: take only the containers the game ships (WAV, Ogg).
bool knownContainer(const void* data, size_t size) {
    if (size < 12) return false;
    const char* p = static_cast<const char*>(data);
    return std::memcmp(p, "RIFF", 4) == 0 || std::memcmp(p, "OggS", 4) == 0;
}

// Sound ids travel as the backend's object pointers.
void* toObj(int id) { return reinterpret_cast<void*>(intptr_t(id)); }
int toId(void* obj) { return int(reinterpret_cast<intptr_t>(obj)); }

}  // namespace

bool tideWebAudio::Open() {
    open = tideAudioOpen() != 0;
    return open;
}

void tideWebAudio::Close() {
    if (open) tideAudioClose();
    open = false;
    musicChannel = -1;
}

void* tideWebAudio::Load(tideSoundType, const void* data, size_t size) {
    if (!open) return &silentSound;
    if (!data || size > size_t(INT32_MAX) || !knownContainer(data, size)) return nullptr;
    const int id = tideAudioLoad(data, int(size));
    return id > 0 ? toObj(id) : nullptr;
}

void tideWebAudio::Free(tideSoundType, void* obj) {
    if (!open || !obj || obj == &silentSound) return;
    tideAudioFree(toId(obj));
}

int tideWebAudio::Play(tideSoundType type, void* obj, bool loop, int volume) {
    if (!open || !obj || obj == &silentSound) return -1;
    if (isMusic(type) && musicChannel >= 0) tideAudioStop(musicChannel);
    const int channel = tideAudioPlay(toId(obj), loop, gainOf(volume), isMusic(type));
    if (isMusic(type)) musicChannel = channel;
    return channel;
}

void tideWebAudio::SetVolume(int channel, tideSoundType, int volume) {
    if (open && channel >= 0) tideAudioSetGain(channel, gainOf(volume));
}

void tideWebAudio::Stop(int channel, tideSoundType) {
    if (!open || channel < 0) return;
    tideAudioStop(channel);
    if (channel == musicChannel) musicChannel = -1;
}

bool tideWebAudio::Playing(int channel, tideSoundType) {
    return open && channel >= 0 && tideAudioPlaying(channel) != 0;
}
