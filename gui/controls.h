// The standard controls of the GUI toolkit: a text label, a push or toggle
// button, a slider and a list box.
#pragma once

#include <string>
#include <vector>

#include "gui/gui.h"

class tideFont;

// Slider drawing modes.
const int SLIDERMODE_BAR = 0;       // a bar from the low end to the value
const int SLIDERMODE_CENTERBAR = 1; // a bar from the middle to the value
const int SLIDERMODE_KNOB = 2;      // a knob centred on the value

// A static text label; it never takes the focus.
class tideGUIText : public tideGUIObject {
public:
    tideGUIText(int id, float x, float y, float w, float h, tideFont* fnt);

    void SetMode(int align);
    void SetText(const char* text);
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    void Render() override;

    tideFont* pFont;
    float fTextX, fTextY;
    int nAlign;
    std::string szText; // grows to hold any text
};

// A button cut from one texture: the pressed picture lies right of the normal one.
class tideGUIButton : public tideGUIObject {
public:
    tideGUIButton(int id, float x, float y, float w, float h, HTEXTURE tex, float tx, float ty);
    ~tideGUIButton() override;

    // Toggle mode: each click flips the pressed state.
    void SetMode(bool toggle) { bToggle = toggle; }
    void SetState(bool down) { bDown = down; }
    bool GetState() const { return bDown; }

    void Render() override;
    bool MouseLButton(bool down) override;

    bool bToggle = false;
    bool bDown = false;
    bool bDownBefore = false;
    tideSprite* sprNormal;
    tideSprite* sprPressed;
};

// A value between two limits, dragged with the left mouse button.
class tideGUISlider : public tideGUIObject {
public:
    tideGUISlider(int id, float x, float y, float w, float h, HTEXTURE tex, float tx, float ty,
                  float sw, float sh, bool vertical = false);
    ~tideGUISlider() override;

    // The value is left as it is, even outside the new range.
    void SetMode(float min, float max, int mode);
    void SetValue(float v);
    float GetValue() const { return fValue; }

    // With a font the slider shows its value while hovered or dragged, and
    // the labels (if any) under its two ends. The font is not owned.
    void SetFont(tideFont* fnt) { pFont = fnt; }
    void SetLabels(const char* low, const char* high);

    void Render() override;
    bool MouseMove(float x, float y) override;
    bool MouseLButton(bool down) override;
    void MouseOver(bool over) override { bOver = over; }
    // Left and Right (Up and Down when vertical) step the value by a
    // twentieth of the range, Home and End set its ends; true when the value
    // changed, as a drag reports it.
    bool KeyClick(int key, int chr) override;
    // The knob can be grabbed where it hangs past the ends of the track.
    bool HitTest(float x, float y) const override;

    bool bDragging = false;
    bool bOver = false;
    tideFont* pFont = nullptr;
    std::string szLow, szHigh;
    bool bVerticalAxis;
    int nMode = SLIDERMODE_BAR;
    float fMinValue = 0, fMaxValue = 100;
    float fValue = 50;
    float fKnobW, fKnobH;
    tideSprite* sprKnob;

private:
    // Distance of the labels' top and the value's bottom from the track's middle line.
    static constexpr float kLabelGap = 26;
    static constexpr float kValueGap = 8;

    // Where the knob is drawn (mode 2); false in the other modes.
    bool KnobRect(tideRect& r) const;
    float ValuePos() const;
    void RenderText();
};

// One of a few texts, shown between two arrows ("< Normal >"): Left and
// Right step it, Home and End go to the ends, Enter or Space and a click step
// it round (a click on the left arrow steps back). Every change reports the
// control's id.
class tideGUIChoice : public tideGUIObject {
public:
    tideGUIChoice(int id, float x, float y, float w, float h, tideFont* fnt);

    void AddItem(const char* text) { items.emplace_back(text ? text : ""); }
    int GetNumItems() const { return static_cast<int>(items.size()); }
    int GetChoice() const { return nChoice; }
    void SetChoice(int n) { if (n >= 0 && n < GetNumItems()) nChoice = n; }

    void Render() override;
    void MouseOver(bool over) override { bOver = over; }
    bool MouseLButton(bool down) override;
    bool KeyClick(int key, int chr) override;

    tideFont* pFont;
    std::vector<std::string> items;
    int nChoice = 0;
    bool bOver = false;

private:
    bool Step(int by, bool round); // true when the choice changed
};

struct ListboxItem {
    char szItemText[64]; // always NUL-terminated
    ListboxItem* pNext;
};

// A scrollable list of text items, one of them selected.
class tideGUIListbox : public tideGUIObject {
public:
    static const int MAX_ITEM_CHARS = 63;

    tideGUIListbox(int id, float x, float y, float w, float h, tideFont* fnt, DWORD textColor,
                   DWORD selectedTextColor, DWORD selectionColor);
    ~tideGUIListbox() override;

    // The text is cut to its first 63 characters. Returns the new item's index.
    int AddItem(const char* text);
    void DeleteItem(int n);
    char* GetItemText(int n) const;
    void Clear();
    int GetNumItems() const { return nItemCount; }
    int GetNumRows() const;
    int GetSelectedItem() const { return nSelected; }
    void SetSelectedItem(int n) { if (n >= 0 && n < nItemCount) nSelected = n; }
    int GetTopItem() const { return nFirstVisible; }

    void Render() override;
    bool MouseMove(float x, float y) override;
    bool MouseLButton(bool down) override;
    bool MouseWheel(int notches) override;
    bool KeyClick(int key, int chr) override;

    tideSprite* sprSelection;
    tideFont* pFont;
    DWORD dwTextColor, dwSelectedTextColor;
    int nItemCount = 0;
    int nSelected = 0;
    int nFirstVisible = 0;
    float fMouseX = 0, fMouseY = 0;
    ListboxItem* pFirstItem = nullptr;

private:
    ListboxItem* Item(int n) const;
    // The font's line height; 0 without a font.
    float LineHeight() const;
};
