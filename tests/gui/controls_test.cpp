#include <cstdio>

#include "gfx/font.h"
#include "gui/controls.h"
#include "tests/gui/gui_fixture.h"

namespace {

struct Box {
    float x1, y1, x2, y2;
};

// The rectangle a quad covers, from its top-left and bottom-right corners.
Box Covered(const tideQuad& q) { return {q.v[0].x, q.v[0].y, q.v[2].x, q.v[2].y}; }

void ExpectBox(const tideQuad& q, Box b)
{
    Box got = Covered(q);
    EXPECT_FLOAT_EQ(got.x1, b.x1);
    EXPECT_FLOAT_EQ(got.y1, b.y1);
    EXPECT_FLOAT_EQ(got.x2, b.x2);
    EXPECT_FLOAT_EQ(got.y2, b.y2);
}

class ControlsTest : public GuiFixture {
protected:
    // A font of 8 by 16 glyphs for 'A' to 'Z' and '?'.
    tideFont* MakeFont()
    {
        std::string desc = "[TIDEFONT]\nBitmap=font.png\n";
        char line[64];
        for (int c = 'A'; c <= 'Z'; ++c) {
            std::snprintf(line, sizeof line, "Char=%X,%d,0,8,16,0,0\n", c, (c - 'A') * 8);
            desc += line;
        }
        desc += "Char=\"?\",216,0,8,16,0,0\n";
        eng.WriteFile("font.fnt", desc);
        eng.WriteSolidPng("font.png", 256, 16, 0xFFFFFFFF);
        font = new tideFont("font.fnt");
        return font;
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        delete font;
    }
    tideFont* font = nullptr;
};

// --- Slider -----------------------------------------------------------------

// The options screen's music slider.
tideGUISlider* GameSlider(tideGUI* gui)
{
    auto* s = new tideGUISlider(9, 428, 500, 160, 39, 0, 0, 0, 19, 19, false);
    s->SetMode(0, 100, SLIDERMODE_KNOB);
    gui->AddCtrl(s);
    return s;
}

TEST_F(ControlsTest, GameSliderKnobTravelsFromEndToEnd)
{
    tideGUISlider* s = GameSlider(gui);
    const struct {
        float value;
        Box knob;
    } cases[] = {{0, {418.5f, 510, 437.5f, 529}},
                 {50, {498.5f, 510, 517.5f, 529}},
                 {100, {578.5f, 510, 597.5f, 529}}};
    for (const auto& c : cases) {
        s->SetValue(c.value);
        MoveTo(0, 0);
        ASSERT_EQ(Quads().size(), 1u);
        ExpectBox(Quads()[0], c.knob);
    }
}

TEST_F(ControlsTest, SliderDragReportsEveryFrameAndFollowsTheMouseOutside)
{
    tideGUISlider* s = GameSlider(gui);
    MoveTo(428 + 80, 520);
    EXPECT_EQ(Press(), 9); // a click without movement sets the value too
    EXPECT_FLOAT_EQ(s->GetValue(), 50);
    EXPECT_EQ(MoveTo(900, 100), 9);
    EXPECT_EQ(s->GetValue(), 100.0f);
    EXPECT_EQ(MoveTo(-50, 700), 9);
    EXPECT_EQ(s->GetValue(), 0.0f);
    EXPECT_EQ(MoveTo(428 + 40, 520), 9);
    EXPECT_FLOAT_EQ(s->GetValue(), 25);
    EXPECT_EQ(Release(), 0);
    EXPECT_FALSE(s->bDragging);
    EXPECT_EQ(MoveTo(428 + 120, 520), 0);
    EXPECT_FLOAT_EQ(s->GetValue(), 25);

    // Right button: no drag.
    EXPECT_EQ(Press(TIDEK_RBUTTON), 0);
    EXPECT_FLOAT_EQ(s->GetValue(), 25);
    Release(TIDEK_RBUTTON);
}

TEST_F(ControlsTest, FocusedSliderStepsByKeysAndReportsOnlyChanges)
{
    tideGUISlider* s = GameSlider(gui);
    gui->SetFocus(9);
    s->SetValue(52);
    const struct {
        int key;
        int result;
        float value;
    } steps[] = {{TIDEK_RIGHT, 9, 57}, {TIDEK_LEFT, 9, 52}, {TIDEK_END, 9, 100}, {TIDEK_RIGHT, 0, 100},
                 {TIDEK_PAD_LEFT, 9, 95}, {TIDEK_HOME, 9, 0},  {TIDEK_LEFT, 0, 0}, {TIDEK_ENTER, 0, 0}};
    for (const auto& st : steps) {
        EXPECT_EQ(Tap(st.key), st.result) << st.key;
        EXPECT_FLOAT_EQ(s->GetValue(), st.value) << st.key;
    }
}

TEST_F(ControlsTest, ChoiceStepsByKeysAndClicks)
{
    auto* c = new tideGUIChoice(5, 100, 100, 200, 40, MakeFont());
    for (const char* item : {"EASY", "NORMAL", "HARD"}) c->AddItem(item);
    c->SetChoice(1);
    gui->AddCtrl(c);
    gui->SetFocus(5);
    const struct {
        int key;
        int result, choice;
    } steps[] = {{TIDEK_RIGHT, 5, 2}, {TIDEK_RIGHT, 0, 2}, {TIDEK_HOME, 5, 0}, {TIDEK_LEFT, 0, 0},
                 {TIDEK_END, 5, 2},   {TIDEK_ENTER, 5, 0}};  // Enter goes round
    for (const auto& st : steps) {
        EXPECT_EQ(Tap(st.key), st.result) << st.key;
        EXPECT_EQ(c->GetChoice(), st.choice) << st.key;
    }
    // A tap on the left arrow steps back round, elsewhere forward.
    eng.hl->SetMouse(110, 120);
    EXPECT_EQ(Tap(TIDEK_LBUTTON), 5);
    EXPECT_EQ(c->GetChoice(), 2);
    eng.hl->SetMouse(250, 120);
    EXPECT_EQ(Tap(TIDEK_LBUTTON), 5);
    EXPECT_EQ(c->GetChoice(), 0);
}

TEST_F(ControlsTest, SliderValueIsClampedBySetValueOnly)
{
    tideGUISlider s(1, 0, 0, 100, 10, 0, 0, 0, 4, 4);
    EXPECT_FLOAT_EQ(s.GetValue(), 50);
    s.SetValue(150);
    EXPECT_FLOAT_EQ(s.GetValue(), 100);
    s.SetMode(0, 10, SLIDERMODE_KNOB);
    EXPECT_FLOAT_EQ(s.GetValue(), 100);
    s.SetValue(-3);
    EXPECT_FLOAT_EQ(s.GetValue(), 0);
}

struct ModeCase {
    bool vertical;
    int mode;
    Box drawn;
};

class SliderModeTest : public ControlsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SliderModeTest, DrawsTheModesRectangle)
{
    const ModeCase& c = GetParam();
    // Horizontal: 200 by 20 at (100, 100), knob 10 by 8; vertical: 30 by 200 at (10, 20), knob 19 by 19.
    auto* s = c.vertical ? new tideGUISlider(1, 10, 20, 30, 200, 0, 0, 0, 19, 19, true)
                         : new tideGUISlider(1, 100, 100, 200, 20, 0, 0, 0, 10, 8, false);
    s->SetMode(0, 100, c.mode);
    s->SetValue(25);
    gui->AddCtrl(s);
    MoveTo(900, 700);
    ASSERT_EQ(Quads().size(), 1u);
    ExpectBox(Quads()[0], c.drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SliderModeTest,
    ::testing::Values(ModeCase{false, SLIDERMODE_BAR, {100, 100, 150, 120}},
                      // Below the middle the bar runs backward.
                      ModeCase{false, SLIDERMODE_CENTERBAR, {200, 100, 150, 120}},
                      ModeCase{false, SLIDERMODE_KNOB, {145, 106, 155, 114}},
                      ModeCase{true, SLIDERMODE_BAR, {10, 20, 40, 70}},
                      ModeCase{true, SLIDERMODE_CENTERBAR, {10, 120, 40, 70}},
                      ModeCase{true, SLIDERMODE_KNOB, {15.5f, 60.5f, 34.5f, 79.5f}}));

TEST_F(ControlsTest, VerticalSliderMapsTheHeight)
{
    auto* s = new tideGUISlider(4, 10, 20, 30, 200, 0, 0, 0, 19, 19, true);
    gui->AddCtrl(s);
    MoveTo(500, 70); // x far outside: only y counts once dragging
    MoveTo(20, 170);
    EXPECT_EQ(Press(), 4);
    EXPECT_FLOAT_EQ(s->GetValue(), 75);
    EXPECT_EQ(MoveTo(500, 70), 4);
    EXPECT_FLOAT_EQ(s->GetValue(), 25);
    Release();
}

TEST_F(ControlsTest, DegenerateSliderKeepsItsValueAndDrawsAtItsLowEnd)
{
    auto* s = new tideGUISlider(2, 100, 100, 200, 20, 0, 0, 0, 10, 8);
    s->SetMode(5, 5, SLIDERMODE_BAR);
    gui->AddCtrl(s);
    MoveTo(150, 110);
    EXPECT_EQ(Press(), 2);
    EXPECT_FLOAT_EQ(s->GetValue(), 50);
    ASSERT_EQ(Quads().size(), 1u);
    ExpectBox(Quads()[0], {100, 100, 100, 120});
    Release();

    tideGUISlider flat(3, 100, 100, 0, 20, 0, 0, 0, 10, 8);
    flat.MouseLButton(true);
    EXPECT_TRUE(flat.MouseMove(5, 5));
    EXPECT_FLOAT_EQ(flat.GetValue(), 50);
}

// --- Button -----------------------------------------------------------------

TEST_F(ControlsTest, ButtonReportsOnReleaseAndShowsItsState)
{
    auto* b = new tideGUIButton(3, 100, 100, 40, 20, 0, 0, 0);
    gui->AddCtrl(b);
    // Untextured sprites keep texel coordinates: the pressed picture starts at u = 40.
    auto drawnU = [this] { return Quads().at(0).v[0].tx; };

    MoveTo(110, 110);
    EXPECT_FLOAT_EQ(drawnU(), 0);
    ExpectBox(Quads()[0], {100, 100, 140, 120});
    for (int click = 0; click < 2; ++click) {
        EXPECT_EQ(Press(), 0);
        EXPECT_FLOAT_EQ(drawnU(), 40);
        EXPECT_EQ(Release(), 3);
        EXPECT_FALSE(b->GetState());
        EXPECT_FLOAT_EQ(drawnU(), 0);
    }

    // A release away from the button still reports it.
    Press();
    EXPECT_EQ(MoveTo(600, 600), 0);
    EXPECT_EQ(Release(), 3);
}

TEST_F(ControlsTest, ToggleButtonFlipsOnEachClick)
{
    auto* b = new tideGUIButton(3, 100, 100, 40, 20, 0, 0, 0);
    b->SetMode(true);
    gui->AddCtrl(b);
    MoveTo(110, 110);
    Press();
    EXPECT_EQ(Release(), 3);
    EXPECT_TRUE(b->GetState());
    EXPECT_FLOAT_EQ(Quads().at(0).v[0].tx, 40);
    Press();
    EXPECT_TRUE(b->GetState()); // held down while pressed
    EXPECT_EQ(Release(), 3);
    EXPECT_FALSE(b->GetState());
}

// --- List box ---------------------------------------------------------------

class ListboxTest : public ControlsTest {
protected:
    static constexpr DWORD kText = 0xFF808080, kSelText = 0xFFFFFF00, kSel = 0x800000FF;

    // A list box at (100, 100) of `rows` rows of 16 pixels, holding `items` items "A", "B", ...
    tideGUIListbox* MakeList(int rows, int items)
    {
        auto* lb = new tideGUIListbox(5, 100, 100, 200, 16.0f * rows + 4, MakeFont(), kText,
                                      kSelText, kSel);
        for (int i = 0; i < items; ++i) {
            char text[2] = {char('A' + i), 0};
            EXPECT_EQ(lb->AddItem(text), i);
        }
        gui->AddCtrl(lb);
        return lb;
    }
};

TEST_F(ListboxTest, ItemsAreCutStoredAndRemoved)
{
    tideGUIListbox* lb = MakeList(4, 3);
    EXPECT_EQ(lb->GetNumRows(), 4);
    const std::string longText(100, 'x');
    EXPECT_EQ(lb->AddItem(longText.c_str()), 3);
    EXPECT_EQ(std::string(lb->GetItemText(3)), longText.substr(0, 63));
    EXPECT_EQ(lb->AddItem(nullptr), 4);
    EXPECT_STREQ(lb->GetItemText(4), "");

    EXPECT_EQ(lb->GetItemText(-1), nullptr);
    EXPECT_EQ(lb->GetItemText(5), nullptr);
    lb->DeleteItem(5);
    lb->DeleteItem(-1);
    EXPECT_EQ(lb->GetNumItems(), 5);
    lb->DeleteItem(1);
    EXPECT_EQ(lb->GetNumItems(), 4);
    EXPECT_STREQ(lb->GetItemText(1), "C");
    lb->DeleteItem(0);
    EXPECT_STREQ(lb->GetItemText(0), "C");

    lb->nSelected = 2;
    lb->nFirstVisible = 1;
    lb->Clear();
    EXPECT_EQ(lb->GetNumItems(), 0);
    EXPECT_EQ(lb->pFirstItem, nullptr);
    EXPECT_EQ(lb->nSelected, 2);
    EXPECT_EQ(lb->nFirstVisible, 1);
    EXPECT_EQ(lb->AddItem("Z"), 0);
}

TEST_F(ListboxTest, ClickSelectsTheRowOfThePreviousFramesMousePosition)
{
    tideGUIListbox* lb = MakeList(4, 6);
    lb->nFirstVisible = 1;
    MoveTo(110, 100 + 40); // row 2
    // Mouse moved to row 0 and pressed in one frame: the press sees row 2.
    eng.hl->SetMouse(110, 105);
    EXPECT_EQ(Press(), 5);
    EXPECT_EQ(lb->nSelected, 3);
    Release();
    EXPECT_EQ(Press(), 5);
    EXPECT_EQ(lb->nSelected, 1);
    Release();

    // Below the last item: nothing selected, nothing reported.
    lb->nFirstVisible = 4;
    MoveTo(110, 100 + 50);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(lb->nSelected, 1);
    Release();
}

TEST_F(ListboxTest, WheelScrollsWithinTheItems)
{
    tideGUIListbox* lb = MakeList(4, 10);
    MoveTo(110, 110);
    const struct {
        int notches, top;
    } steps[] = {{-3, 3}, {-10, 6}, {2, 4}, {10, 0}};
    for (const auto& s : steps) {
        eng.hl->Wheel(s.notches);
        EXPECT_EQ(Frame(), 5);
        EXPECT_EQ(lb->nFirstVisible, s.top);
    }
}

TEST_F(ListboxTest, WheelNeverScrollsAShortList)
{
    tideGUIListbox* lb = MakeList(5, 3);
    for (int n : {-1, -4, 2}) {
        lb->MouseWheel(n);
        EXPECT_EQ(lb->nFirstVisible, 0);
    }
}

TEST_F(ListboxTest, ArrowKeysMoveTheSelectionAndScroll)
{
    tideGUIListbox* lb = MakeList(4, 5);
    gui->SetFocus(5);
    lb->SetSelectedItem(3);
    EXPECT_EQ(Tap(TIDEK_DOWN), 5);
    EXPECT_EQ(lb->nSelected, 4);
    EXPECT_EQ(lb->nFirstVisible, 1);
    EXPECT_EQ(Tap(TIDEK_DOWN), 5); // at the end: nothing moves
    EXPECT_EQ(lb->nSelected, 4);
    for (int i = 0; i < 4; ++i) Tap(TIDEK_UP);
    EXPECT_EQ(lb->nSelected, 0);
    EXPECT_EQ(lb->nFirstVisible, 0);
    EXPECT_EQ(Tap(TIDEK_UP), 5);
    EXPECT_EQ(lb->nSelected, 0);
    EXPECT_EQ(Tap(TIDEK_A), 0);

    // Navigation takes the arrows first when the manager's mode covers them.
    gui->SetNavMode(GUINAV_UPDOWN);
    Tap(TIDEK_DOWN);
    EXPECT_EQ(lb->nSelected, 0);
}

TEST_F(ListboxTest, DrawsVisibleRowsWithTheSelectionHighlighted)
{
    tideGUIListbox* lb = MakeList(4, 6);
    lb->nFirstVisible = 1;
    lb->nSelected = 2;
    MoveTo(900, 700);
    // Rows B, C (selected), D, E: one glyph each, plus the selection bar.
    const auto& q = Quads();
    ASSERT_EQ(q.size(), 5u);
    ExpectBox(q[0], {103, 100, 111, 116});
    EXPECT_EQ(q[0].v[0].col, kText);
    ExpectBox(q[1], {100, 116, 300, 132});
    EXPECT_EQ(q[1].v[0].col, kSel);
    EXPECT_EQ(q[1].tex, 0u);
    ExpectBox(q[2], {103, 116, 111, 132});
    EXPECT_EQ(q[2].v[0].col, kSelText);
    ExpectBox(q[4], {103, 148, 111, 164});
    EXPECT_EQ(q[4].v[0].col, kText);
}

// --- Text label ---------------------------------------------------------------

TEST_F(ControlsTest, TextLabelPlacesAndColorsItsText)
{
    auto* t = new tideGUIText(1, 100, 200, 300, 40, MakeFont());
    gui->AddCtrl(t);
    EXPECT_FLOAT_EQ(t->fTextY, 212); // one 16-pixel line centred in 40
    EXPECT_FLOAT_EQ(t->fTextX, 100);
    t->SetMode(TEXT_CENTER);
    EXPECT_FLOAT_EQ(t->fTextX, 250);
    t->SetMode(7);
    EXPECT_FLOAT_EQ(t->fTextX, 100);
    t->SetMode(TEXT_RIGHT);
    EXPECT_FLOAT_EQ(t->fTextX, 400);

    t->SetText("AB");
    t->SetColor(0xFF00FF00);
    MoveTo(110, 210);
    ASSERT_EQ(Quads().size(), 2u);
    ExpectBox(Quads()[0], {384, 212, 392, 228});
    EXPECT_EQ(Quads()[1].v[0].col, 0xFF00FF00u);
    EXPECT_EQ(font->GetColor(), 0xFF00FF00u);

    // A label never takes the focus.
    Press();
    Release();
    EXPECT_EQ(gui->GetFocus(), 0);
}

TEST_F(ControlsTest, TextLabelHoldsTextOfAnyLength)
{
    tideGUIText t(1, 0, 0, 100, 20, MakeFont());
    const std::string longText(5000, 'Q');
    t.SetText(longText.c_str());
    EXPECT_EQ(t.szText, longText);
    t.printf("%s-%d", longText.c_str(), 42);
    EXPECT_EQ(t.szText, longText + "-42");
    t.SetText(nullptr);
    EXPECT_EQ(t.szText, "");
}

} // namespace
