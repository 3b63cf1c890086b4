// The real game on the real backend in real time, driven by a script of
// steps: SDL events (or a virtual gamepad's buttons) are pushed into SDL's
// queue as the devices would deliver them, and each step waits until its
// condition holds before it acts.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "tests/support/test_support.h"

class cGame;
class tideGUI;

struct Step {
    const char* what;
    std::function<bool()> ready;
    std::function<void()> act;
};

// Frames to let pass before a step acts, so it sees the last one's result.
std::function<bool()> After(int n);

void PushMouseMove(int x, int y);

// Set by the test; the fixture runs them every frame and deletes them.
extern cGame* game;
extern tideGUI* gui;
extern Tide* engine;

class RealGameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the steps in order, each once its condition holds.
    void Run(std::vector<Step> steps);

    Tide* tide = nullptr;
    std::string dir;
    std::optional<ScopedEnv> userDirs;  // the test's own user folders while it runs
};
