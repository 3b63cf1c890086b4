#include <functional>

#include "gfx/sprite.h"
#include "tests/gui/gui_fixture.h"

namespace {

// A control that writes every call it gets into a shared journal and answers
// as the test tells it.
struct Probe : tideGUIObject {
    Probe(std::string* journal, int _id, float x, float y, float w, float h) : log(journal)
    {
        Setup(_id, x, y, w, h);
    }
    ~Probe() override { Note("gone"); }

    void Note(const std::string& what) { *log += std::to_string(id) + ":" + what + " "; }

    void Render() override { ++renders; }
    void Update(float) override { if (onUpdate) onUpdate(); }
    bool IsDone() override { return done; }
    void Focus(bool f) override { Note(f ? "focus" : "blur"); }
    void MouseOver(bool o) override { Note(o ? "over" : "out"); }
    bool MouseMove(float x, float y) override
    {
        Note("move" + std::to_string(int(x)) + "," + std::to_string(int(y)));
        return moveResult;
    }
    bool MouseLButton(bool d) override
    {
        Note(d ? "ldown" : "lup");
        if (onLButton) onLButton();
        return d ? lDownResult : lUpResult;
    }
    bool MouseRButton(bool d) override
    {
        Note(d ? "rdown" : "rup");
        return false;
    }
    bool MouseWheel(int n) override
    {
        Note("wheel" + std::to_string(n));
        return false;
    }
    bool KeyClick(int key, int) override
    {
        Note("key" + std::to_string(key));
        return keyResult;
    }

    std::string* log;
    int renders = 0;
    bool done = true, moveResult = false, lDownResult = false, lUpResult = false, keyResult = false;
    std::function<void()> onUpdate, onLButton;
};

class ManagerTest : public GuiFixture {
protected:
    Probe* Add(int id, float x, float y, float w = 100, float h = 50)
    {
        auto* p = new Probe(&journal, id, x, y, w, h);
        gui->AddCtrl(p);
        return p;
    }
    // The journal since the last call.
    std::string Take()
    {
        std::string s = journal;
        journal.clear();
        return s;
    }
    std::string journal;
};

TEST_F(ManagerTest, EmptyManagerUpdatesToZeroAndDrawsOnlyTheCursor)
{
    tideSprite cursor(0, 0, 0, 8, 8);
    gui->SetCursor(&cursor);
    eng.hl->SetMouseOver(true);
    EXPECT_EQ(MoveTo(30, 40), 0);
    ASSERT_EQ(Quads().size(), 1u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].x, 30);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].y, 40);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(Tap(TIDEK_DOWN), 0);

    eng.hl->SetMouseOver(false);
    Frame();
    EXPECT_TRUE(Quads().empty());
}

TEST_F(ManagerTest, HitTestingPicksTheTopmostEnabledControlRegardlessOfVisibility)
{
    Probe* below = Add(1, 0, 0);
    Probe* above = Add(2, 50, 0);
    MoveTo(60, 10);
    EXPECT_EQ(Take(), "2:over 2:move10,10 ");

    gui->EnableCtrl(2, false);
    MoveTo(61, 10);
    EXPECT_EQ(Take(), "2:out 1:over 1:move61,10 ");

    // Hidden but enabled: still hit and able to report, never drawn or focused.
    gui->EnableCtrl(2, true);
    gui->ShowCtrl(2, false);
    above->renders = 0;
    above->lDownResult = true;
    EXPECT_EQ(Press(), 2);
    EXPECT_EQ(Take(), "1:out 2:over 2:ldown ");
    EXPECT_EQ(gui->GetFocus(), 0);
    EXPECT_EQ(above->renders, 0);
    EXPECT_GT(below->renders, 0);
    Release();
    Take();

    // The right and bottom edges lie outside.
    MoveTo(150, 10);
    EXPECT_EQ(Take(), "2:out ");
    EXPECT_EQ(gui->ctrlOver, nullptr);
}

TEST_F(ManagerTest, HoverIsToldOnlyWhenItChanges)
{
    Add(1, 0, 0);
    Add(2, 100, 0);
    MoveTo(10, 10);
    MoveTo(20, 10);
    MoveTo(110, 10);
    EXPECT_EQ(Take(), "1:over 1:move10,10 1:move20,10 1:out 2:over 2:move10,10 ");
    MoveTo(500, 500);
    MoveTo(501, 500);
    EXPECT_EQ(Take(), "2:out ");
}

TEST_F(ManagerTest, HandlersRunInOrderAndStopAtTheFirstThatFinishes)
{
    Probe* p = Add(7, 0, 0);
    MoveTo(5, 5);
    Take();
    eng.hl->Key(TIDEK_LBUTTON, true);
    eng.hl->Key(TIDEK_RBUTTON, true);
    eng.hl->Wheel(2);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Take(), "7:focus 7:ldown 7:rdown 7:wheel2 7:move5,5 ");

    eng.hl->Key(TIDEK_LBUTTON, false);
    eng.hl->Key(TIDEK_RBUTTON, false);
    p->lUpResult = true;
    EXPECT_EQ(Frame(), 7);
    EXPECT_EQ(Take(), "7:lup ");

    p->moveResult = true;
    EXPECT_EQ(MoveTo(6, 5), 7);
    EXPECT_EQ(Take(), "7:move6,5 ");
}

TEST_F(ManagerTest, CaptureKeepsTheMouseUntilBothButtonsAreUp)
{
    Add(1, 0, 0);
    Add(2, 200, 0);
    MoveTo(10, 10);
    Press();
    Take();

    // Dragged over the other control: events go to the captor, hover stays.
    MoveTo(210, 10);
    Press(TIDEK_RBUTTON);
    Release(TIDEK_LBUTTON);
    EXPECT_EQ(Take(), "1:move210,10 1:rdown 1:move210,10 1:lup 1:move210,10 ");
    EXPECT_EQ(gui->ctrlLock, gui->GetCtrl(1));

    // The frame in which no button is held still goes to the captor.
    Release(TIDEK_RBUTTON);
    EXPECT_EQ(Take(), "1:rup 1:move210,10 ");
    EXPECT_EQ(gui->ctrlLock, nullptr);
    EXPECT_EQ(gui->ctrlOver, gui->GetCtrl(1));

    Frame();
    EXPECT_EQ(Take(), "1:out 2:over 2:move10,10 ");
}

// A screen left while its button was down never hears the release: when it
// is shown again, the next press goes where it points, not to that button.
TEST_F(ManagerTest, APressOnAScreenShownAgainGoesWhereItPoints)
{
    Probe* a = Add(1, 0, 0);
    a->lUpResult = true;
    Add(2, 200, 0);
    MoveTo(10, 10);
    Press();
    skipUpdate = true;
    Release();
    MoveTo(210, 10);
    skipUpdate = false;
    Take();
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(Take().find("1:l"), std::string::npos);
    EXPECT_EQ(gui->ctrlLock, nullptr);
}

TEST_F(ManagerTest, FocusFollowsPressesAndSetFocus)
{
    Probe* a = Add(1, 0, 0);
    Add(2, 200, 0)->bStatic = true;
    Add(3, 400, 0);
    EXPECT_EQ(gui->GetFocus(), 0);

    MoveTo(10, 10);
    Press();
    Release();
    EXPECT_EQ(gui->GetFocus(), 1);
    // A static control takes the press and capture but not the focus.
    MoveTo(210, 10);
    Press();
    EXPECT_EQ(gui->ctrlLock, gui->GetCtrl(2));
    EXPECT_EQ(gui->GetFocus(), 1);
    Release();
    MoveTo(900, 700);
    Take();

    gui->SetFocus(3);
    gui->SetFocus(3);
    EXPECT_EQ(Take(), "1:blur 3:focus ");
    gui->EnableCtrl(1, false);
    gui->SetFocus(1);
    EXPECT_EQ(gui->GetFocus(), 3);
    gui->SetFocus(99);
    EXPECT_EQ(Take(), "3:blur ");
    EXPECT_EQ(gui->GetFocus(), 0);

    // Keys other than navigation go to the focused control.
    a->bEnabled = true;
    a->keyResult = true;
    gui->SetFocus(1);
    Take();
    EXPECT_EQ(Tap(TIDEK_A), 1);
    EXPECT_EQ(Take(), "1:key65 ");
}

// A held key's auto-repeats (the same key down again while held) move a list
// box on, but a held Enter activates the focused control only once.
TEST_F(ManagerTest, HeldKeysRepeatOnlyForMoving)
{
    Probe* a = Add(1, 500, 500); // away from the pointer
    a->keyResult = true;
    gui->SetFocus(1);
    Take();
    EXPECT_EQ(Press(TIDEK_ENTER), 1);
    EXPECT_EQ(Press(TIDEK_ENTER), 0) << "a repeat activated again";
    EXPECT_EQ(Release(TIDEK_ENTER), 0);
    EXPECT_EQ(Take(), "1:key13 ");
    EXPECT_EQ(Press(TIDEK_DOWN), 1);
    EXPECT_EQ(Press(TIDEK_DOWN), 1);
    EXPECT_EQ(Press(TIDEK_DOWN), 1);
    EXPECT_EQ(Take(), "1:key40 1:key40 1:key40 ");
}

struct NavCase {
    int mode;
    std::vector<int> keys;
    std::vector<int> focus; // focus after each key
};

class NavigationTest : public ManagerTest, public ::testing::WithParamInterface<NavCase> {};

TEST_P(NavigationTest, ArrowKeysMoveTheFocus)
{
    // Three focusable controls with a static, a hidden and a disabled one between them.
    Add(1, 0, 0);
    Add(9, 0, 100)->bStatic = true;
    Add(2, 0, 200);
    Add(8, 0, 300)->bVisible = false;
    Add(7, 0, 400)->bEnabled = false;
    Add(3, 0, 500);
    gui->SetNavMode(GetParam().mode);
    for (size_t i = 0; i < GetParam().keys.size(); ++i) {
        Tap(GetParam().keys[i]);
        EXPECT_EQ(gui->GetFocus(), GetParam().focus[i]) << "after key " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, NavigationTest,
    ::testing::Values(
        // Left/Right, no wrap: Right focuses the first, Left stays at the first end.
        NavCase{GUINAV_LEFTRIGHT, {TIDEK_RIGHT, TIDEK_LEFT, TIDEK_RIGHT, TIDEK_RIGHT, TIDEK_RIGHT,
                                   TIDEK_UP, TIDEK_DOWN},
                {1, 1, 2, 3, 3, 3, 3}},
        // Without focus, the first backward key focuses the last control.
        NavCase{GUINAV_LEFTRIGHT, {TIDEK_LEFT, TIDEK_LEFT}, {3, 2}},
        // Up/Down only.
        NavCase{GUINAV_UPDOWN, {TIDEK_DOWN, TIDEK_DOWN, TIDEK_UP, TIDEK_RIGHT, TIDEK_LEFT},
                {1, 2, 1, 1, 1}},
        // Cycled: past either end wraps around.
        NavCase{GUINAV_LEFTRIGHT | GUINAV_CYCLED,
                {TIDEK_RIGHT, TIDEK_LEFT, TIDEK_RIGHT, TIDEK_RIGHT},
                {1, 3, 1, 2}}));

TEST_F(ManagerTest, TabGamepadAndAFocusOrderMoveTheFocus)
{
    Probe* a = Add(1, 500, 0);
    Add(2, 500, 100);
    Add(3, 500, 200)->bEnabled = false;
    Add(4, 500, 300);
    a->keyResult = true;
    gui->SetNavMode(GUINAV_UPDOWN);  // not cycled: Tab goes round all the same
    gui->SetFocusOrder({4, 3, 2, 1});
    gui->FocusFirst();
    EXPECT_EQ(gui->GetFocus(), 4);
    const struct {
        int key;
        bool shift;
        int focus;
    } steps[] = {
        {TIDEK_TAB, false, 2},          {TIDEK_TAB, false, 1},         {TIDEK_TAB, false, 4},
        {TIDEK_TAB, true, 1},           {TIDEK_PAD_UP, false, 2},      {TIDEK_PAD_STICK_DOWN, false, 1},
        {TIDEK_DOWN, false, 1},  // the end of the order, not cycled
    };
    for (const auto& s : steps) {
        if (s.shift) eng.hl->Key(TIDEK_SHIFT, true);
        Tap(s.key);
        if (s.shift) eng.hl->Key(TIDEK_SHIFT, false);
        EXPECT_EQ(gui->GetFocus(), s.focus) << "key " << s.key;
    }
    // A presses the focused control as Enter does; the stick is an arrow key.
    Take();
    EXPECT_EQ(Tap(TIDEK_PAD_A), 1);
    EXPECT_EQ(Take(), "1:key13 ");
}

TEST_F(ManagerTest, NavigationWithNothingFocusableChangesNothing)
{
    Add(1, 0, 0)->bStatic = true;
    Add(2, 0, 100)->bVisible = false;
    for (int mode : {GUINAV_LEFTRIGHT, GUINAV_LEFTRIGHT | GUINAV_CYCLED}) {
        gui->SetNavMode(mode);
        Tap(TIDEK_LEFT);
        Tap(TIDEK_RIGHT);
        EXPECT_EQ(gui->GetFocus(), 0);
    }
    Add(3, 0, 200);
    gui->SetFocus(3);
    Tap(TIDEK_RIGHT); // cycled: comes back round to itself
    EXPECT_EQ(gui->GetFocus(), 3);
}

TEST_F(ManagerTest, TransitionsWaitForEveryControl)
{
    Probe* a = Add(1, 0, 0);
    Probe* b = Add(2, 200, 0);
    a->lDownResult = true;
    MoveTo(10, 10);
    Take();

    b->done = false;
    gui->Enter();
    EXPECT_EQ(gui->nEnterLeave, 2);
    EXPECT_EQ(Press(), 0); // no input while entering
    Release();
    EXPECT_EQ(Take(), "");
    b->done = true;
    EXPECT_EQ(Press(), 1);
    Release();
    EXPECT_EQ(gui->nEnterLeave, 0);

    gui->SetFocus(1);
    b->done = false;
    gui->Leave();
    EXPECT_EQ(gui->GetFocus(), 0);
    EXPECT_EQ(gui->ctrlOver, nullptr);
    EXPECT_EQ(Frame(), 0);
    b->done = true;
    EXPECT_EQ(Frame(), -1);
    EXPECT_EQ(Press(), -1);
    EXPECT_EQ(Release(), -1);
    gui->Enter();
    EXPECT_EQ(Frame(), 0);
}

TEST_F(ManagerTest, ResetAndOperationsById)
{
    Add(1, 10, 20);
    Add(1, 300, 300); // a second control with the same id: the first wins
    MoveTo(15, 25);
    Press();
    gui->Reset();
    EXPECT_EQ(gui->ctrlLock, nullptr);
    EXPECT_EQ(gui->ctrlFocus, nullptr);
    EXPECT_EQ(gui->ctrlOver, nullptr);
    Release();

    gui->MoveCtrl(1, 100, 200);
    tideRect& r = gui->GetCtrl(1)->rect;
    EXPECT_FLOAT_EQ(r.x1, 100);
    EXPECT_FLOAT_EQ(r.y1, 200);
    EXPECT_FLOAT_EQ(r.x2, 200);
    EXPECT_FLOAT_EQ(r.y2, 250);
    gui->Move(5, -5);
    EXPECT_FLOAT_EQ(r.x1, 105);
    EXPECT_FLOAT_EQ(r.y2, 245);
    EXPECT_FLOAT_EQ(gui->ctrls->next->rect.x1, 305);

    gui->MoveCtrl(42, 0, 0);
    gui->ShowCtrl(42, false);
    gui->EnableCtrl(42, false);
    gui->DelCtrl(42);
    gui->SetColor(0x80FF0000);
    EXPECT_EQ(gui->ctrls->color, 0x80FF0000u);
    EXPECT_EQ(gui->ctrls->next->color, 0x80FF0000u);
}

TEST_F(ManagerTest, ControlsBelongToOneManager)
{
    Probe* p = Add(1, 0, 0);
    tideGUI other;
    other.AddCtrl(p);
    other.AddCtrl(nullptr);
    EXPECT_EQ(other.ctrls, nullptr);
    EXPECT_EQ(p->gui, gui);
    EXPECT_TRUE(eng.LogHas("GUI: control refused"));
}

TEST_F(ManagerTest, DeletingControlsMidUpdateLeavesNoDanglingPointer)
{
    Probe* a = Add(1, 0, 0);
    Probe* b = Add(2, 200, 0);
    Add(3, 400, 0);

    // The pressed control removes itself: lock, focus and hover let go of it.
    MoveTo(10, 10);
    Take();
    a->lDownResult = true;
    a->onLButton = [this] { gui->DelCtrl(1); };
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(gui->GetCtrl(1), nullptr);
    EXPECT_EQ(gui->ctrlLock, nullptr);
    EXPECT_EQ(gui->ctrlFocus, nullptr);
    EXPECT_EQ(gui->ctrlOver, nullptr);
    EXPECT_EQ(Take(), "1:focus 1:ldown 1:gone ");
    Release();

    // A control's per-frame update removes itself and its neighbour; the
    // walk goes on with the control after them.
    bool ran3 = false;
    b->onUpdate = [this] {
        gui->DelCtrl(2);
        gui->DelCtrl(3);
        Add(4, 600, 0);
    };
    static_cast<Probe*>(gui->GetCtrl(3))->onUpdate = [&ran3] { ran3 = true; };
    Frame();
    EXPECT_FALSE(ran3);
    EXPECT_EQ(gui->GetCtrl(2), nullptr);
    EXPECT_EQ(gui->GetCtrl(3), nullptr);
    ASSERT_NE(gui->GetCtrl(4), nullptr);
    EXPECT_EQ(gui->ctrls, gui->GetCtrl(4));
    EXPECT_EQ(gui->ctrls->prev, nullptr);
}

TEST_F(ManagerTest, DestructorDeletesEveryControl)
{
    Add(1, 0, 0);
    Add(2, 0, 0);
    gui->DelCtrl(1);
    EXPECT_EQ(Take(), "1:gone ");
    delete gui;
    gui = new tideGUI();
    EXPECT_EQ(Take(), "2:gone ");
}

} // namespace
