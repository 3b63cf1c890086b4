#include "gfx/sprite.h"
#include "gui/guiButton.h"
#include "tests/gui/gui_fixture.h"

namespace {

constexpr DWORD kNormal = 0xFFFFFFFF, kOver = 0xFFFF0000;

// Two menu buttons one above the other, as on the main menu.
class MenuButtonTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        eng.WriteWav("over.wav");
        HEFFECT over = eng.tide->Effect_Load("over.wav");
        sprOver.SetColor(kOver);
        gui->AddCtrl(new guiButton(1, 428, 500, 168, 43, &sprNorm, &sprOver, over));
        gui->AddCtrl(new guiButton(2, 428, 550, 168, 43, &sprNorm, &sprOver, over));
    }

    int HoverSounds() const
    {
        int n = 0;
        for (const tideSoundEvent& e : eng.hl->Sounds())
            if (e.kind == TIDE_SND_EFFECT && e.handle != 0) ++n;
        return n;
    }
    // Color each button was drawn with in the last frame.
    DWORD Drawn(int button) const { return eng.hl->Quads().at(button - 1).v[0].col; }

    tideSprite sprNorm{0, 0, 0, 168, 43};
    tideSprite sprOver{0, 0, 0, 168, 43};
};

TEST_F(MenuButtonTest, HoverSoundPlaysOncePerEntry)
{
    MoveTo(500, 520);
    EXPECT_EQ(HoverSounds(), 1);
    EXPECT_EQ(Drawn(1), kOver);
    EXPECT_EQ(Drawn(2), kNormal);
    MoveTo(510, 530);
    EXPECT_EQ(HoverSounds(), 1);

    // Straight onto the neighbour.
    MoveTo(500, 560);
    EXPECT_EQ(HoverSounds(), 2);
    EXPECT_EQ(Drawn(1), kNormal);
    EXPECT_EQ(Drawn(2), kOver);

    MoveTo(500, 700);
    EXPECT_EQ(Drawn(2), kNormal);
    MoveTo(500, 520);
    EXPECT_EQ(HoverSounds(), 3);
}

TEST_F(MenuButtonTest, LeftPressReportsInThePressFrameOnly)
{
    MoveTo(500, 520);
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(MoveTo(505, 520), 0);
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(Frame(), 0);

    EXPECT_EQ(Press(TIDEK_RBUTTON), 0);
    EXPECT_EQ(Release(TIDEK_RBUTTON), 0);
}

TEST_F(MenuButtonTest, ReturningToTheScreenRefreshesTheHighlight)
{
    MoveTo(500, 520);
    EXPECT_EQ(Press(), 1);
    // The screen is left in the press frame and its manager no longer updated.
    skipUpdate = true;
    Release();
    MoveTo(900, 100);
    skipUpdate = false;

    Frame(); // ends the capture, hover untouched
    EXPECT_EQ(gui->ctrlLock, nullptr);
    EXPECT_EQ(Drawn(1), kOver);
    Frame();
    EXPECT_EQ(Drawn(1), kNormal);
    EXPECT_EQ(HoverSounds(), 1);
}

TEST_F(MenuButtonTest, MissingSoundIsSilent)
{
    gui->AddCtrl(new guiButton(3, 428, 600, 168, 43, &sprNorm, &sprOver));
    MoveTo(500, 620);
    EXPECT_EQ(HoverSounds(), 0);
    EXPECT_EQ(Drawn(3), kOver);
}

} // namespace
