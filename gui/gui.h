// tideGUI: a manager of on-screen controls, and tideGUIObject, the base of
// every control. The manager routes the frame's mouse and keyboard input to
// its controls and returns the id of the control that finished an action.
#pragma once

#include <utility>
#include <vector>

#include "engine/tide.h"
#include "gfx/rect.h"

class tideSprite;
class tideGUI;

// Keyboard navigation bits of tideGUI::SetNavMode.
const int GUINAV_LEFTRIGHT = 1;
const int GUINAV_UPDOWN = 2;
const int GUINAV_CYCLED = 4;

class tideGUIObject {
public:
    tideGUIObject();
    virtual ~tideGUIObject();

    tideGUIObject(const tideGUIObject&) = delete;
    tideGUIObject& operator=(const tideGUIObject&) = delete;

    virtual void Render() = 0;
    virtual void Update(float dt) { (void)dt; }
    virtual void Enter() {}
    virtual void Leave() {}
    virtual void Reset() {}
    virtual bool IsDone() { return true; }
    virtual void Focus(bool focused) { (void)focused; }
    virtual void MouseOver(bool over) { (void)over; }
    // x, y relative to the control's top-left corner.
    virtual bool MouseMove(float x, float y) { (void)x; (void)y; return false; }
    virtual bool MouseLButton(bool down) { (void)down; return false; }
    virtual bool MouseRButton(bool down) { (void)down; return false; }
    virtual bool MouseWheel(int notches) { (void)notches; return false; }
    virtual bool KeyClick(int key, int chr) { (void)key; (void)chr; return false; }
    virtual void SetColor(DWORD col) { color = col; }
    // Whether a point of the screen is on the control; its rectangle unless
    // it draws past it.
    virtual bool HitTest(float x, float y) const { return rect.TestPoint(x, y); }

    int id = 0;
    bool bStatic = false;
    bool bVisible = true;
    bool bEnabled = true;
    tideRect rect;
    DWORD color = 0xFFFFFFFF;
    tideGUI* gui = nullptr; // null while the control belongs to no manager
    tideGUIObject* next = nullptr;
    tideGUIObject* prev = nullptr;

    // Can take the keyboard focus.
    bool Focusable() const { return !bStatic && bVisible && bEnabled; }
    // Holds the focus while the player uses keys or a gamepad: the focus is
    // then drawn. A mouse or touch player sees the hover instead.
    bool ShowsKeyFocus() const;

protected:
    // What every concrete control sets up: id, flags and the rectangle from
    // left, top, width and height.
    void Setup(int _id, float x, float y, float w, float h, bool isStatic = false)
    {
        id = _id;
        bStatic = isStatic;
        bVisible = true;
        bEnabled = true;
        rect.Set(x, y, x + w, y + h);
    }

    static Tide* tide;

public:
    // A frame around r, marking the focused control (or anything focused).
    static void RenderFocusFrame(const tideRect& r, DWORD col);
};

class tideGUI {
public:
    tideGUI();
    ~tideGUI();

    tideGUI(const tideGUI&) = delete;
    tideGUI& operator=(const tideGUI&) = delete;

    // Takes ownership. A null control or one that already belongs to a
    // manager is refused.
    void AddCtrl(tideGUIObject* c);
    void DelCtrl(int id);
    tideGUIObject* GetCtrl(int id) const;

    void MoveCtrl(int id, float x, float y);
    void ShowCtrl(int id, bool visible);
    void EnableCtrl(int id, bool enabled);

    // Keys move the focus when the navigation mode says so: the arrow keys
    // by its bits, and with any bit Tab (forward) and Shift+Tab (back),
    // always round. A gamepad's D-pad and stick are arrow keys, A Enter.
    void SetNavMode(int mode) { navmode = mode; }
    // The order keys move the focus in, by id; empty (the default): the
    // list order. Controls left out are reached by the mouse only.
    void SetFocusOrder(std::vector<int> ids) { focusOrder = std::move(ids); }
    // Focuses the first control, in that order, that can take the focus.
    void FocusFirst();
    void SetCursor(tideSprite* spr) { sprCursor = spr; }
    void SetColor(DWORD color);
    void SetFocus(int id);
    int GetFocus() const;

    void Enter();
    void Leave();
    void Reset();
    void Move(float dx, float dy);

    // The id of the control that finished an action, -1 once a leave
    // transition is over, otherwise 0.
    int Update(float dt);
    void Render();

    bool ProcessCtrl(tideGUIObject* c);

    tideGUIObject* ctrls = nullptr;
    tideGUIObject* ctrlLock = nullptr;
    tideGUIObject* ctrlFocus = nullptr;
    tideGUIObject* ctrlOver = nullptr;
    int navmode = 0;
    int nEnterLeave = 0;
    tideSprite* sprCursor = nullptr;
    float mx = 0, my = 0;
    int nWheel = 0;
    bool bLPressed = false, bLReleased = false, bRPressed = false, bRReleased = false;

private:
    // While the manager is calling into its controls, a deleted control is
    // only unlinked; it is freed once the outermost call returns, so no
    // caller up the stack is left holding a freed control.
    class Busy {
    public:
        explicit Busy(tideGUI* g) : gui(g) { ++gui->busy; }
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        tideGUI* gui;
    };

    bool Owns(const tideGUIObject* c) const { return c && c->gui == this; }
    tideGUIObject* LastCtrl() const;
    // The next control of the list after c, skipping controls removed meanwhile.
    tideGUIObject* NextLive(tideGUIObject* c) const;
    // Calls f on every control in list order; controls may be deleted meanwhile.
    template <class F>
    void ForEach(F f);
    void Unlink(tideGUIObject* c);
    // Moves the focus or hover slot to c, telling the old and the new control.
    void Switch(tideGUIObject*& slot, tideGUIObject* c, void (tideGUIObject::*notify)(bool));
    void ChangeFocus(tideGUIObject* c);
    void ChangeOver(tideGUIObject* c);
    // Arrow-key focus move (round as the mode says, or always); false when
    // no control is in the order.
    bool Navigate(bool forward, bool round);
    std::vector<tideGUIObject*> NavOrder() const;

    int busy = 0;
    std::vector<tideGUIObject*> doomed;
    std::vector<int> focusOrder;

    static Tide* tide;
};
