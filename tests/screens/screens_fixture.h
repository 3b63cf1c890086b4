// A headless game with its own small data set: every texture, sprite, font,
// stream and unit animation the screens and the battle look up, a
// configuration file, a campaign of kLevels levels and the first two of
// their files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/tide_headless.h"
#include "game/game.h"
#include "tests/support/test_support.h"

class ScreensTest : public ::testing::Test {
protected:
    // Glyph size of the test font: every character is kGlyphW pixels wide.
    static constexpr float kGlyphW = 8, kGlyphH = 16;
    // Level 1: a player Aqua at (2, 5) facing a one-hit Medu at (4, 5).
    static constexpr int kAquaX = 2, kMeduX = 4, kRow = 5;
    static constexpr int kLevels = 8;

    void SetUp() override;
    void TearDown() override;

    // Writes the data set; `config` replaces the default configuration file.
    void WriteData(const std::string& config);
    static std::string DefaultConfig();
    // Builds the game on the data written so far and hooks up the callbacks.
    void Start();
    // Deletes the game, as the program does at exit.
    void Stop();

    bool Frame(float dt = 1.0f / 60.0f) { return hl->Frame(dt); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Runs frames until the main menu's logo phase is over.
    void PassLogo();
    // The default data, a new game and the main menu past its logo.
    void StartAtMenu() {
        WriteData(DefaultConfig());
        Start();
        PassLogo();
    }
    void Move(float x, float y) { hl->SetMouse(x, y); }
    // Press in one frame, release in the next; returns the press frame's
    // result (true when the game asked to quit).
    bool Click(float x, float y);
    void Key(int vk);
    // Drags the left button from (x0, y0) to (x1, y1) over a few frames.
    void Drag(float x0, float y0, float x1, float y1);

    // Main menu to the level choice, then a click on level button n.
    void StartLevel(int n);
    // Level 1 from the screen shown, the Aqua shooting the Medu whenever it
    // may act, until `done` holds (or a generous bound of frames).
    template <class Done>
    void PlayLevel1Until(Done done) {
        StartLevel(1);
        ASSERT_EQ(game->gamestate, GS_GAME);
        for (int i = 0; i < 1200 && !done(); ++i) {
            if (PlayerMayAct())
                Click(kMeduX * 64 + 32, kRow * 64 + 32);
            else
                Frame();
        }
    }
    bool PlayerMayAct() const;
    // Centre of the campaign's level button n (from 1).
    tcellpos LevelButton(int n) const;

    // Ids of a manager's controls in list order.
    static std::vector<int> Ids(const tideGUI* g);
    // Handle of a texture the test data declares.
    HTEXTURE Texture(const char* name) const;
    // Quads of the last frame drawn with texture `tex`.
    std::vector<tideQuad> QuadsWith(HTEXTURE tex) const;
    // Stream plays recorded since the last ClearSounds, by file name.
    std::vector<std::string> StreamsPlayed() const;

    std::unique_ptr<HeadlessEngine> eng;
    tideHeadless* hl = nullptr;
    cGame* game = nullptr;
};
