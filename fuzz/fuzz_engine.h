// The headless engine the fuzz targets run on: made once per process over an
// empty data folder of its own, so that the only files that exist are the ones
// a target serves from memory for the current input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "engine/tide_headless.h"

class FuzzEngine {
public:
    // The process's engine, created and initiated on first use.
    static FuzzEngine& Get();

    // Forgets what the input left in the engine: memory files, log lines,
    // recorded sounds and sound channels. Called at the end of every input, so that an input
    // frees what it allocated: libFuzzer runs LeakSanitizer again on every
    // input that does not, which costs more than the input itself.
    void Reset();

    // Runs `draw` inside a scene, so the recorded quads never pile up.
    template <class Draw>
    void Scene(Draw draw) {
        tide->Gfx_BeginScene(0);
        draw();
        tide->Gfx_EndScene();
    }

    // Engine handles come from one counter: every texture made after
    // TextureMark() must be freed again when CheckTexturesFreed() runs.
    DWORD TextureMark();
    void CheckTexturesFreed(DWORD mark, const char* owner);

    Tide* tide = nullptr;
    tideHeadless* hl = nullptr;
    std::string dir;  // the data folder (on tmpfs when there is one)

private:
    FuzzEngine();
};

// Splits a fuzz input at NUL bytes into at most `maxParts` parts; the last
// part keeps any further NULs. Text parsers stop at a NUL anyway, so the
// separator costs them nothing.
std::vector<std::string> FuzzSplit(const uint8_t* data, size_t size, size_t maxParts);

// A small valid PNG image (4 by 4 opaque white) and a valid empty WAV file.
const std::string& FuzzPng();
const std::string& FuzzWav();

// Reads a float from `bytes` at `at` when there are 4 bytes there, else `def`.
float FuzzFloat(const std::string& bytes, size_t at, float def);
