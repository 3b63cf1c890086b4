// Writers for finished tracks: 16-bit PCM WAV for short effects and Ogg
// Vorbis for music. The Ogg stream serial is fixed so the same track always
// encodes to the same bytes.
#pragma once

#include <string>

#include "assets/sound/synth.h"

namespace audio {

bool writeWav(const std::string& path, const synth::Track& track);
bool writeOgg(const std::string& path, const synth::Track& track, float quality, int serial);

}  // namespace audio
