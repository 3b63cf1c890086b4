#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/controls.h"

tideGUISlider::tideGUISlider(int _id, float x, float y, float w, float h, HTEXTURE tex,
                             float tx, float ty, float sw, float sh, bool vertical)
    : bVerticalAxis(vertical), fKnobW(sw), fKnobH(sh), sprKnob(new tideSprite(tex, tx, ty, sw, sh))
{
    Setup(_id, x, y, w, h);
}

tideGUISlider::~tideGUISlider() { delete sprKnob; }

void tideGUISlider::SetMode(float min, float max, int mode)
{
    fMinValue = min;
    fMaxValue = max;
    nMode = mode;
}

void tideGUISlider::SetValue(float v)
{
    if (v < fMinValue)
        fValue = fMinValue;
    else if (v > fMaxValue)
        fValue = fMaxValue;
    else
        fValue = v;
}

// Drawn in slider coordinates: "along" runs from the low to the high end,
// "across" is the other axis; a vertical slider swaps them back at the end.
void tideGUISlider::Render()
{
    const float a1 = bVerticalAxis ? rect.y1 : rect.x1;
    const float a2 = bVerticalAxis ? rect.y2 : rect.x2;
    const float b1 = bVerticalAxis ? rect.x1 : rect.y1;
    const float b2 = bVerticalAxis ? rect.x2 : rect.y2;
    const float knobAlong = bVerticalAxis ? fKnobH : fKnobW;
    const float knobAcross = bVerticalAxis ? fKnobW : fKnobH;

    const float p = ValuePos();

    float lo, hi, across1 = b1, across2 = b2;
    switch (nMode) {
    case SLIDERMODE_BAR:
        lo = a1;
        hi = p;
        break;
    case SLIDERMODE_CENTERBAR:
        lo = (a1 + a2) / 2;
        hi = p;
        break;
    case SLIDERMODE_KNOB:
        lo = p - knobAlong / 2;
        hi = p + knobAlong / 2;
        across1 = (b1 + b2 - knobAcross) / 2;
        across2 = (b1 + b2 + knobAcross) / 2;
        break;
    default: // no other mode draws anything
        return;
    }
    if (bVerticalAxis)
        sprKnob->RenderStretch(across1, lo, across2, hi);
    else
        sprKnob->RenderStretch(lo, across1, hi, across2);
    RenderText();
    if (ShowsKeyFocus()) RenderFocusFrame(rect, 0xC0FFE066);
}

void tideGUISlider::SetLabels(const char* low, const char* high)
{
    szLow = low ? low : "";
    szHigh = high ? high : "";
}

float tideGUISlider::ValuePos() const
{
    const float a1 = bVerticalAxis ? rect.y1 : rect.x1;
    const float a2 = bVerticalAxis ? rect.y2 : rect.x2;
    // An empty range sits at the low end rather than dividing by zero.
    const float range = fMaxValue - fMinValue;
    const float t = range != 0 ? (fValue - fMinValue) / range : 0.0f;
    return a1 + (a2 - a1) * t;
}

bool tideGUISlider::KnobRect(tideRect& r) const
{
    if (nMode != SLIDERMODE_KNOB) return false;
    const float p = ValuePos();
    if (bVerticalAxis) {
        const float cx = (rect.x1 + rect.x2) / 2;
        r.Set(cx - fKnobW / 2, p - fKnobH / 2, cx + fKnobW / 2, p + fKnobH / 2);
    } else {
        const float cy = (rect.y1 + rect.y2) / 2;
        r.Set(p - fKnobW / 2, cy - fKnobH / 2, p + fKnobW / 2, cy + fKnobH / 2);
    }
    return true;
}

bool tideGUISlider::HitTest(float x, float y) const
{
    tideRect knob;
    return rect.TestPoint(x, y) || (KnobRect(knob) && knob.TestPoint(x, y));
}

// Labels under the ends of a horizontal track, and the value over the knob
// while the pointer is on the slider or drags it.
void tideGUISlider::RenderText()
{
    if (!pFont || bVerticalAxis) return;
    const float mid = (rect.y1 + rect.y2) / 2;
    pFont->SetColor(color);
    if (!szLow.empty()) pFont->Render(rect.x1, mid + kLabelGap, TEXT_CENTER, szLow.c_str());
    if (!szHigh.empty()) pFont->Render(rect.x2, mid + kLabelGap, TEXT_CENTER, szHigh.c_str());
    if (bOver || bDragging || ShowsKeyFocus())
        pFont->printf(ValuePos(), mid - kValueGap - pFont->GetHeight(), TEXT_CENTER, "%d",
                      static_cast<int>(fValue));
}

bool tideGUISlider::MouseLButton(bool down)
{
    bDragging = down;
    return false;
}

bool tideGUISlider::MouseMove(float x, float y)
{
    if (!bDragging) return false;
    const float length = bVerticalAxis ? rect.y2 - rect.y1 : rect.x2 - rect.x1;
    // Without a length or a range there is no position to map: keep the value.
    if (length <= 0 || fMaxValue == fMinValue) return true;
    float pos = bVerticalAxis ? y : x;
    if (pos < 0) pos = 0;
    if (pos > length) pos = length;
    fValue = fMinValue + (fMaxValue - fMinValue) * pos / length;
    return true;
}

bool tideGUISlider::KeyClick(int key, int chr)
{
    (void)chr;
    const float step = (fMaxValue - fMinValue) / 20;
    const int lower = bVerticalAxis ? TIDEK_UP : TIDEK_LEFT;
    const int higher = bVerticalAxis ? TIDEK_DOWN : TIDEK_RIGHT;
    const float old = fValue;
    if (key == lower)
        SetValue(fValue - step);
    else if (key == higher)
        SetValue(fValue + step);
    else if (key == TIDEK_HOME)
        SetValue(fMinValue);
    else if (key == TIDEK_END)
        SetValue(fMaxValue);
    return fValue != old;
}
