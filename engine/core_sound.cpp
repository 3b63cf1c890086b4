// Sound effects, music modules and streams: handles and channels are kept
// here; the backend owns the device objects.
#include "engine/core.h"

namespace {
const char* kindName(tideSoundType type) {
    switch (type) {
        case TIDE_SOUND_EFFECT: return "sound";
        case TIDE_SOUND_MUSIC: return "music";
        case TIDE_SOUND_STREAM: return "stream";
    }
    return "sound";
}
// Finished effect channels are forgotten once this many are known.
const size_t kChannelPrune = 256;
}  // namespace

DWORD tideCore::addSound(tideSoundType type, const char* filename, DWORD size) {
    const char* what = size ? "(memory)" : (filename ? filename : "(null)");
    std::string data;
    if (!fileOrMemory(filename, size, data)) {
        if (firstLoadFailure(filename, size)) System_Log("Can't load %s: %s", kindName(type), what);
        return 0;
    }
    if (!backend) return 0;
    void* obj = backend->SoundLoad(type, data.data(), data.size());
    if (!obj) {
        if (firstLoadFailure(filename, size))
            System_Log("Can't load %s: %s (not a playable sound file)", kindName(type), what);
        return 0;
    }
    loaded(filename, size);
    DWORD h = nextHandle++;
    Sound& s = soundsLoaded[h];
    s.type = type;
    s.obj = obj;
    s.name = what;
    return h;
}

void tideCore::freeSound(DWORD h, tideSoundType type) {
    auto it = soundsLoaded.find(h);
    if (it == soundsLoaded.end() || it->second.type != type) return;
    for (auto c = channels.begin(); c != channels.end();) {
        if (c->second.sound == h) {
            if (backend) backend->ChannelStop(c->second.dev, c->second.type);
            c = channels.erase(c);
        } else {
            ++c;
        }
    }
    if (backend) backend->SoundFree(type, it->second.obj);
    soundsLoaded.erase(it);
}

int tideCore::scaledVolume(tideSoundType type, int volume) const {
    if (volume < 0) volume = 0;
    if (volume > 100) volume = 100;
    int global = type == TIDE_SOUND_EFFECT ? fxVolume
                 : type == TIDE_SOUND_MUSIC ? musVolume
                                            : streamVolume;
    return volume * global / 100;
}

void tideCore::applyGlobalVolume(tideSoundType type) {
    if (!backend) return;
    for (auto& [h, c] : channels)
        if (c.type == type) backend->ChannelVolume(c.dev, c.type, scaledVolume(type, c.volume));
}

HCHANNEL tideCore::play(DWORD h, tideSoundType type, bool loop, int volume, tideSoundEvent ev) {
    auto it = soundsLoaded.find(h);
    if (!h || it == soundsLoaded.end() || it->second.type != type || !backend) return 0;
    ev.handle = h;
    ev.volume = volume;
    ev.loop = loop;
    ev.name = it->second.name;
    int dev = backend->SoundPlay(type, it->second.obj, loop, scaledVolume(type, volume));
    if (dev < 0) {
        if (Manual()) sounds.push_back(ev);
        return 0;
    }
    if (channels.size() >= kChannelPrune) {
        for (auto c = channels.begin(); c != channels.end();) {
            if (c->second.type == TIDE_SOUND_EFFECT && !backend->ChannelPlaying(c->second.dev, c->second.type))
                c = channels.erase(c);
            else
                ++c;
        }
    }
    // A device channel reused by a new sound no longer belongs to the old handle.
    for (auto c = channels.begin(); c != channels.end();) {
        if (c->second.dev == dev && c->second.type == type)
            c = channels.erase(c);
        else
            ++c;
    }
    HCHANNEL chn = nextHandle++;
    channels[chn] = Channel{type, dev, h, volume < 0 ? 0 : (volume > 100 ? 100 : volume)};
    ev.channel = chn;
    if (Manual()) sounds.push_back(ev);
    return chn;
}

HEFFECT tideCore::Effect_Load(const char* filename, DWORD size) {
    return addSound(TIDE_SOUND_EFFECT, filename, size);
}
void tideCore::Effect_Free(HEFFECT eff) { freeSound(eff, TIDE_SOUND_EFFECT); }
HCHANNEL tideCore::Effect_Play(HEFFECT eff) { return Effect_PlayEx(eff, 100, 0, 1.0f, false); }
HCHANNEL tideCore::Effect_PlayEx(HEFFECT eff, int volume, int pan, float pitch, bool loop) {
    (void)pan;
    (void)pitch;
    return play(eff, TIDE_SOUND_EFFECT, loop, volume, tideSoundEvent{TIDE_SND_EFFECT, 0, 0, 0, false, {}});
}

HMUSIC tideCore::Music_Load(const char* filename, DWORD size) {
    return addSound(TIDE_SOUND_MUSIC, filename, size);
}
void tideCore::Music_Free(HMUSIC mus) { freeSound(mus, TIDE_SOUND_MUSIC); }
HCHANNEL tideCore::Music_Play(HMUSIC mus, bool loop, int volume, int order, int row) {
    (void)order;
    (void)row;
    return play(mus, TIDE_SOUND_MUSIC, loop, volume, tideSoundEvent{TIDE_SND_MUSIC, 0, 0, 0, false, {}});
}
void tideCore::Music_SetAmplification(HMUSIC music, int ampl) {
    auto it = soundsLoaded.find(music);
    if (it != soundsLoaded.end() && it->second.type == TIDE_SOUND_MUSIC) it->second.amplification = ampl;
}
int tideCore::Music_GetAmplification(HMUSIC music) {
    auto it = soundsLoaded.find(music);
    return it != soundsLoaded.end() && it->second.type == TIDE_SOUND_MUSIC ? it->second.amplification : -1;
}

HSTREAM tideCore::Stream_Load(const char* filename, DWORD size) {
    return addSound(TIDE_SOUND_STREAM, filename, size);
}
void tideCore::Stream_Free(HSTREAM stream) { freeSound(stream, TIDE_SOUND_STREAM); }
HCHANNEL tideCore::Stream_Play(HSTREAM stream, bool loop, int volume) {
    return play(stream, TIDE_SOUND_STREAM, loop, volume, tideSoundEvent{TIDE_SND_STREAM, 0, 0, 0, false, {}});
}

void tideCore::Channel_SetVolume(HCHANNEL chn, int volume) {
    auto it = channels.find(chn);
    if (it == channels.end()) return;
    if (volume < 0) volume = 0;
    if (volume > 100) volume = 100;
    it->second.volume = volume;
    if (Manual()) sounds.push_back(tideSoundEvent{TIDE_SND_VOLUME, 0, chn, volume, false, {}});
    if (backend) backend->ChannelVolume(it->second.dev, it->second.type, scaledVolume(it->second.type, volume));
}

void tideCore::Channel_Stop(HCHANNEL chn) {
    auto it = channels.find(chn);
    if (it == channels.end()) return;
    if (Manual()) sounds.push_back(tideSoundEvent{TIDE_SND_STOP, 0, chn, 0, false, {}});
    if (backend) backend->ChannelStop(it->second.dev, it->second.type);
    channels.erase(it);
}

void tideCore::Channel_StopAll() {
    for (auto& [h, c] : channels)
        if (backend) backend->ChannelStop(c.dev, c.type);
    channels.clear();
}

bool tideCore::Channel_IsPlaying(HCHANNEL chn) {
    auto it = channels.find(chn);
    return it != channels.end() && backend && backend->ChannelPlaying(it->second.dev, it->second.type);
}

int tideCore::ChannelVolume(HCHANNEL chn) const {
    auto it = channels.find(chn);
    return it == channels.end() ? -1 : it->second.volume;
}
