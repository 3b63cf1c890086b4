// Bitmap font files: a font loaded from the file measures and draws a text in
// every alignment, through Render, printf and the word-wrapping printfb. The
// input is the font file, then (after NULs) the text and a few raw floats for
// the drawing state.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_engine.h"
#include "gfx/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    std::vector<std::string> parts = FuzzSplit(data, size, 3);
    const std::string text = parts.size() > 1 ? parts[1] : "Thalomir 1024\nturn 2";
    const std::string state = parts.size() > 2 ? parts[2] : "";

    // The bitmap is looked for beside the font file.
    fe.hl->SetMemoryFile("Res\\fonts\\game.fnt", parts[0]);
    for (const char* name : {"Res\\fonts\\font.png", "Res\\fonts\\font2.png"})
        fe.hl->SetMemoryFile(name, FuzzPng());

    DWORD mark = fe.TextureMark();
    {
        tideFont font("Res\\fonts\\game.fnt", state.size() % 2 == 1);
        font.SetColor(0xFF80C0FF);
        font.SetZ(0.25f);
        font.SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND);
        font.SetScale(FuzzFloat(state, 0, 1.0f));
        font.SetProportion(FuzzFloat(state, 4, 1.0f));
        font.SetTracking(FuzzFloat(state, 8, 0.0f));
        font.SetSpacing(FuzzFloat(state, 12, 1.0f));
        font.SetRotation(FuzzFloat(state, 16, 0.0f));
        float boxW = FuzzFloat(state, 20, 120.0f);

        font.GetStringWidth(text.c_str(), true);
        font.GetStringWidth(text.c_str(), false);
        fe.Scene([&] {
            for (int align : {TEXT_LEFT, TEXT_RIGHT, TEXT_CENTER})
                font.Render(512, 20, align, text.c_str());
            font.printf(0, 100, TEXT_RIGHT, "%s|%d", text.c_str(), int(text.size()));
            for (int align : {TEXT_LEFT | TEXT_TOP, TEXT_CENTER | TEXT_MIDDLE,
                              TEXT_RIGHT | TEXT_BOTTOM})
                font.printfb(10, 200, boxW, 300, align, "%s", text.c_str());
        });
    }
    fe.CheckTexturesFreed(mark, "a font");
    fe.Reset();
    return 0;
}
