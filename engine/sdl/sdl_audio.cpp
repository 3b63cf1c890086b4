#include "engine/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// SDL_mixer reads music from its source while it plays, so the bytes stay
// with the music object.
struct MusicData {
    std::vector<uint8_t> bytes;
    Mix_Music* music = nullptr;
};

// Stands in for every sound while there is no device: loads "succeed" and
// plays do nothing.
char silentSound;

int mixVolume(int volume) { return std::clamp(volume, 0, 100) * MIX_MAX_VOLUME / 100; }

bool isMusic(tideSoundType type) { return type != TIDE_SOUND_EFFECT; }

} // namespace

bool tideSdlAudio::tryOpen(int sampleRate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem = true;
    if (Mix_OpenAudio(sampleRate > 0 ? sampleRate : 44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem = false;
    return false;
}

bool tideSdlAudio::Open(int sampleRate, std::string* why) {
    if (open) return true;
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MOD);
    open = tryOpen(sampleRate);
    if (!open) {
        // SDL does not fall back to its dummy driver by itself.
        std::string first = SDL_GetError();
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        open = tryOpen(sampleRate);
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!open) {
            if (why) *why = first + "; dummy driver: " + SDL_GetError();
            Mix_Quit();
            return false;
        }
    }
    Mix_AllocateChannels(32);
    return true;
}

void tideSdlAudio::Close() {
    if (!open) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    if (subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem = false;
    open = false;
}

std::string tideSdlAudio::Driver() const {
    const char* name = open ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? name : "";
}

void* tideSdlAudio::Load(tideSoundType type, const void* data, size_t size) {
    if (!open) return &silentSound;
    if (!data || size == 0 || size > size_t(INT32_MAX)) return nullptr;
    if (!isMusic(type)) {
        SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
        Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        // The converted samples keep the room the conversion needed, several
        // times their size; the chunk frees its buffer with SDL_free.
        if (chunk && chunk->allocated == 1 && chunk->alen > 0)
            if (void* fitted = SDL_realloc(chunk->abuf, chunk->alen))
                chunk->abuf = static_cast<Uint8*>(fitted);
        return chunk;
    }
    auto* m = new MusicData;
    m->bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    SDL_RWops* rw = SDL_RWFromConstMem(m->bytes.data(), int(size));
    m->music = rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
    if (!m->music) {
        delete m;
        return nullptr;
    }
    return m;
}

void tideSdlAudio::Free(tideSoundType type, void* obj) {
    if (!obj || obj == &silentSound) return;
    if (!isMusic(type)) {
        Mix_FreeChunk(static_cast<Mix_Chunk*>(obj));
        return;
    }
    auto* m = static_cast<MusicData*>(obj);
    Mix_FreeMusic(m->music); // halts it first when it is playing
    delete m;
}

int tideSdlAudio::Play(tideSoundType type, void* obj, bool loop, int volume) {
    if (!open || !obj || obj == &silentSound) return -1;
    if (isMusic(type)) {
        if (Mix_PlayMusic(static_cast<MusicData*>(obj)->music, loop ? -1 : 1) != 0) return -1;
        Mix_VolumeMusic(mixVolume(volume));
        return kMusicChannel;
    }
    auto* chunk = static_cast<Mix_Chunk*>(obj);
    int channel = Mix_PlayChannel(-1, chunk, loop ? -1 : 0);
    if (channel < 0) {
        // Every channel busy: grow the mixer rather than drop the sound.
        Mix_AllocateChannels(Mix_AllocateChannels(-1) * 2);
        channel = Mix_PlayChannel(-1, chunk, loop ? -1 : 0);
    }
    if (channel >= 0) Mix_Volume(channel, mixVolume(volume));
    return channel;
}

void tideSdlAudio::SetVolume(int channel, tideSoundType type, int volume) {
    if (!open || channel < 0) return;
    if (isMusic(type))
        Mix_VolumeMusic(mixVolume(volume));
    else
        Mix_Volume(channel, mixVolume(volume));
}

void tideSdlAudio::Stop(int channel, tideSoundType type) {
    if (!open || channel < 0) return;
    if (isMusic(type))
        Mix_HaltMusic();
    else
        Mix_HaltChannel(channel);
}

bool tideSdlAudio::Playing(int channel, tideSoundType type) {
    if (!open || channel < 0) return false;
    if (isMusic(type)) return Mix_PlayingMusic() != 0;
    return channel < Mix_AllocateChannels(-1) && Mix_Playing(channel) != 0;
}
