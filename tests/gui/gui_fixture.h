// A GUI manager driven frame by frame on the headless engine: each frame runs
// the manager's Update (its result kept for the test) and then its Render.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gui.h"
#include "tests/support/test_support.h"

class GuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        current = this;
        gui = new tideGUI();
        eng.tide->System_SetState(TIDE_FRAMEFUNC, FrameFn);
        eng.tide->System_SetState(TIDE_RENDERFUNC, RenderFn);
    }
    void TearDown() override
    {
        delete gui;
        gui = nullptr;
        current = nullptr;
    }

    // Runs one frame and returns what the manager's Update returned.
    int Frame()
    {
        eng.hl->Frame(1.0f / 60);
        return result;
    }
    int MoveTo(float x, float y)
    {
        eng.hl->SetMouse(x, y);
        return Frame();
    }
    int Button(int vk, bool down)
    {
        eng.hl->Key(vk, down);
        return Frame();
    }
    int Press(int vk = TIDEK_LBUTTON) { return Button(vk, true); }
    int Release(int vk = TIDEK_LBUTTON) { return Button(vk, false); }
    int Tap(int vk)
    {
        eng.hl->Key(vk, true);
        int r = Frame();
        eng.hl->Key(vk, false);
        Frame();
        return r;
    }
    const std::vector<tideQuad>& Quads() const { return eng.hl->Quads(); }

    HeadlessEngine eng;
    tideGUI* gui = nullptr;
    int result = 0;
    bool skipUpdate = false; // a screen that is not shown does not update its manager

private:
    static bool FrameFn()
    {
        if (!current->skipUpdate) current->result = current->gui->Update(1.0f / 60);
        return false;
    }
    static bool RenderFn()
    {
        current->eng.tide->Gfx_BeginScene();
        current->gui->Render();
        current->eng.tide->Gfx_EndScene();
        return false;
    }
    static inline GuiFixture* current = nullptr;
};
