#include "gui/gui.h"

#include "gfx/sprite.h"

Tide* tideGUI::tide = nullptr;

tideGUI::tideGUI() { tide = tideCreate(TIDE_VERSION); }

tideGUI::~tideGUI()
{
    // Detach everything first: a control's destructor then finds nothing to remove.
    tideGUIObject* c = ctrls;
    ctrls = ctrlLock = ctrlFocus = ctrlOver = nullptr;
    for (tideGUIObject* p = c; p; p = p->next) p->gui = nullptr;
    while (c) {
        tideGUIObject* n = c->next;
        delete c;
        c = n;
    }
    for (tideGUIObject* d : doomed) delete d;
    tide->Release();
}

tideGUI::Busy::~Busy()
{
    if (--gui->busy > 0) return;
    // Deleting may run a control's destructor that removes further controls.
    while (!gui->doomed.empty()) {
        tideGUIObject* d = gui->doomed.back();
        gui->doomed.pop_back();
        delete d;
    }
}

void tideGUI::AddCtrl(tideGUIObject* c)
{
    if (!c || c->gui) {
        tide->System_Log("GUI: control refused (null or already in a manager)");
        return;
    }
    tideGUIObject* last = LastCtrl();
    c->gui = this;
    c->prev = last;
    c->next = nullptr;
    if (last)
        last->next = c;
    else
        ctrls = c;
}

void tideGUI::Unlink(tideGUIObject* c)
{
    if (c->prev)
        c->prev->next = c->next;
    else
        ctrls = c->next;
    if (c->next) c->next->prev = c->prev;
    // `next` is kept so that a walk standing on c can still move on.
    c->prev = nullptr;
    c->gui = nullptr;
    if (ctrlLock == c) ctrlLock = nullptr;
    if (ctrlFocus == c) ctrlFocus = nullptr;
    if (ctrlOver == c) ctrlOver = nullptr;
}

void tideGUI::DelCtrl(int id)
{
    tideGUIObject* c = GetCtrl(id);
    if (!c) return;
    Unlink(c);
    if (busy > 0)
        doomed.push_back(c);
    else
        delete c;
}

tideGUIObject* tideGUI::GetCtrl(int id) const
{
    for (tideGUIObject* c = ctrls; c; c = c->next)
        if (c->id == id) return c;
    return nullptr;
}

tideGUIObject* tideGUI::LastCtrl() const
{
    tideGUIObject* c = ctrls;
    while (c && c->next) c = c->next;
    return c;
}

tideGUIObject* tideGUI::NextLive(tideGUIObject* c) const
{
    c = c->next;
    while (c && !Owns(c)) c = c->next;
    return c;
}

template <class F>
void tideGUI::ForEach(F f)
{
    Busy guard(this);
    for (tideGUIObject* c = ctrls; c; c = NextLive(c)) f(c);
}

void tideGUI::MoveCtrl(int id, float x, float y)
{
    if (tideGUIObject* c = GetCtrl(id))
        c->rect.Set(x, y, x + (c->rect.x2 - c->rect.x1), y + (c->rect.y2 - c->rect.y1));
}

void tideGUI::ShowCtrl(int id, bool visible)
{
    if (tideGUIObject* c = GetCtrl(id)) c->bVisible = visible;
}

void tideGUI::EnableCtrl(int id, bool enabled)
{
    if (tideGUIObject* c = GetCtrl(id)) c->bEnabled = enabled;
}

void tideGUI::SetColor(DWORD color)
{
    ForEach([color](tideGUIObject* c) { c->SetColor(color); });
}

// The pointer is set before the control hears of it, so a control that
// removes itself in its handler is forgotten again by the removal.
void tideGUI::Switch(tideGUIObject*& slot, tideGUIObject* c, void (tideGUIObject::*notify)(bool))
{
    Busy guard(this);
    tideGUIObject* old = slot;
    slot = nullptr;
    if (old) (old->*notify)(false);
    if (c && Owns(c)) {
        slot = c;
        (c->*notify)(true);
    }
}

void tideGUI::ChangeFocus(tideGUIObject* c) { Switch(ctrlFocus, c, &tideGUIObject::Focus); }

void tideGUI::ChangeOver(tideGUIObject* c) { Switch(ctrlOver, c, &tideGUIObject::MouseOver); }

void tideGUI::SetFocus(int id)
{
    tideGUIObject* c = GetCtrl(id);
    if (c == ctrlFocus) return;
    if (c && !c->Focusable()) return;
    ChangeFocus(c);
}

int tideGUI::GetFocus() const { return ctrlFocus ? ctrlFocus->id : 0; }

void tideGUI::Enter()
{
    ForEach([](tideGUIObject* c) { c->Enter(); });
    nEnterLeave = 2;
}

void tideGUI::Leave()
{
    ForEach([](tideGUIObject* c) { c->Leave(); });
    ctrlFocus = ctrlOver = ctrlLock = nullptr;
    nEnterLeave = 1;
}

void tideGUI::Reset()
{
    ForEach([](tideGUIObject* c) { c->Reset(); });
    ctrlLock = ctrlOver = ctrlFocus = nullptr;
}

void tideGUI::Move(float dx, float dy)
{
    for (tideGUIObject* c = ctrls; c; c = c->next) {
        c->rect.x1 += dx;
        c->rect.x2 += dx;
        c->rect.y1 += dy;
        c->rect.y2 += dy;
    }
}

std::vector<tideGUIObject*> tideGUI::NavOrder() const
{
    std::vector<tideGUIObject*> order;
    if (focusOrder.empty()) {
        for (tideGUIObject* c = ctrls; c; c = c->next) order.push_back(c);
    } else {
        for (int id : focusOrder)
            if (tideGUIObject* c = GetCtrl(id)) order.push_back(c);
    }
    return order;
}

void tideGUI::FocusFirst()
{
    for (tideGUIObject* c : NavOrder())
        if (c->Focusable()) {
            if (c != ctrlFocus) ChangeFocus(c);
            return;
        }
}

// Walks from the focus (or, without one, from the end opposite to the
// direction) to the next focusable control. Every control is looked at
// at most once, so an order where nothing can take the focus ends the search.
bool tideGUI::Navigate(bool forward, bool round)
{
    const std::vector<tideGUIObject*> order = NavOrder();
    const int n = static_cast<int>(order.size());
    if (n == 0) return false;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (order[i] == ctrlFocus) at = i;
    const bool wrap = round || (navmode & GUINAV_CYCLED) || at < 0;
    if (at < 0) at = forward ? n - 1 : 0;
    for (int visited = 0; visited < n; ++visited) {
        int next = at + (forward ? 1 : -1);
        if (next < 0 || next >= n) {
            if (!wrap) break;
            next = (next + n) % n;
        }
        at = next;
        tideGUIObject* c = order[static_cast<std::size_t>(at)];
        if (c == ctrlFocus) break;
        if (c->Focusable()) {
            ChangeFocus(c);
            break;
        }
    }
    return true;
}

namespace {
// Keys whose auto-repeat keeps moving something; others act once a press.
bool Moves(int key) { return key >= TIDEK_PGUP && key <= TIDEK_DOWN; }
}  // namespace

int tideGUI::Update(float dt)
{
    Busy guard(this);

    tide->Input_GetMousePos(&mx, &my);
    bLPressed = tide->Input_KeyDown(TIDEK_LBUTTON);
    bLReleased = tide->Input_KeyUp(TIDEK_LBUTTON);
    bRPressed = tide->Input_KeyDown(TIDEK_RBUTTON);
    bRReleased = tide->Input_KeyUp(TIDEK_RBUTTON);
    nWheel = tide->Input_GetMouseWheel();

    ForEach([dt](tideGUIObject* c) { c->Update(dt); });

    if (nEnterLeave != 0) {
        for (tideGUIObject* c = ctrls; c; c = NextLive(c))
            if (!c->IsDone()) return 0;
        if (nEnterLeave == 1) return -1;
        nEnterLeave = 0;
    }

    const int pressed = tide->Input_GetKey();
    const int key = tideNavKey(pressed);
    const bool tab = navmode != 0 && key == TIDEK_TAB;
    const bool shift = tide->Input_GetKeyState(TIDEK_SHIFT);
    const bool back = (tab && shift) || ((navmode & GUINAV_LEFTRIGHT) && key == TIDEK_LEFT) ||
                      ((navmode & GUINAV_UPDOWN) && key == TIDEK_UP);
    const bool fwd = (tab && !shift) || ((navmode & GUINAV_LEFTRIGHT) && key == TIDEK_RIGHT) ||
                     ((navmode & GUINAV_UPDOWN) && key == TIDEK_DOWN);
    if (back || fwd) {
        if (!Navigate(fwd, tab)) return 0;
    } else if (ctrlFocus && key != 0 && key != TIDEK_LBUTTON && key != TIDEK_RBUTTON &&
               (tide->Input_KeyDown(pressed) || Moves(key))) {
        // A held key repeats to move (a list box's selection), but a held
        // Enter or Space activates a control once, not once per repeat.
        tideGUIObject* c = ctrlFocus;
        if (c->KeyClick(key, tide->Input_GetChar())) return c->id;
    }

    const bool held = tide->Input_GetKeyState(TIDEK_LBUTTON) ||
                      tide->Input_GetKeyState(TIDEK_RBUTTON);
    // A press while a control holds the pointer and no other button is down:
    // the holder's release was never seen (its screen was left with the
    // button down), so this press is no longer its own.
    if (ctrlLock && ((bLPressed && !tide->Input_GetKeyState(TIDEK_RBUTTON)) ||
                     (bRPressed && !tide->Input_GetKeyState(TIDEK_LBUTTON))))
        ctrlLock = nullptr;
    if (ctrlLock) {
        tideGUIObject* c = ctrlLock;
        if (!held) ctrlLock = nullptr;
        return ProcessCtrl(c) ? c->id : 0;
    }

    tideGUIObject* hit = nullptr;
    for (tideGUIObject* c = LastCtrl(); c && !hit; c = c->prev)
        if (c->bEnabled && c->HitTest(mx, my)) hit = c;
    if (!hit) {
        if (ctrlOver) ChangeOver(nullptr);
        return 0;
    }
    if (hit != ctrlOver) ChangeOver(hit);
    return ProcessCtrl(hit) ? hit->id : 0;
}

bool tideGUI::ProcessCtrl(tideGUIObject* c)
{
    Busy guard(this);
    bool r = false;
    // A control that removed itself hears nothing more of this frame.
    auto live = [&] { return !r && Owns(c); };
    if (bLPressed && live()) {
        ctrlLock = c;
        SetFocus(c->id);
        if (live()) r = c->MouseLButton(true);
    }
    if (bRPressed && live()) {
        ctrlLock = c;
        SetFocus(c->id);
        if (live()) r = c->MouseRButton(true);
    }
    if (bLReleased && live()) r = c->MouseLButton(false);
    if (bRReleased && live()) r = c->MouseRButton(false);
    if (nWheel != 0 && live()) r = c->MouseWheel(nWheel);
    if (live()) r = c->MouseMove(mx - c->rect.x1, my - c->rect.y1);
    return r;
}

void tideGUI::Render()
{
    ForEach([](tideGUIObject* c) {
        if (c->bVisible) c->Render();
    });
    if (sprCursor && tide->Input_IsMouseOver()) sprCursor->Render(mx, my);
}
