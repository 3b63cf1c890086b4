#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/controls.h"

tideGUIListbox::tideGUIListbox(int _id, float x, float y, float w, float h, tideFont* fnt,
                               DWORD textColor, DWORD selectedTextColor, DWORD selectionColor)
    : pFont(fnt), dwTextColor(textColor), dwSelectedTextColor(selectedTextColor)
{
    Setup(_id, x, y, w, h);
    sprSelection = new tideSprite(0, 0, 0, w, LineHeight());
    sprSelection->SetColor(selectionColor, -1);
}

tideGUIListbox::~tideGUIListbox()
{
    Clear();
    delete sprSelection;
}

float tideGUIListbox::LineHeight() const { return pFont ? pFont->GetHeight() : 0.0f; }

ListboxItem* tideGUIListbox::Item(int n) const
{
    if (n < 0 || n >= nItemCount) return nullptr;
    ListboxItem* item = pFirstItem;
    while (item && n-- > 0) item = item->pNext;
    return item;
}

int tideGUIListbox::AddItem(const char* text)
{
    ListboxItem* item = new ListboxItem;
    int len = 0;
    if (text)
        while (len < MAX_ITEM_CHARS && text[len]) {
            item->szItemText[len] = text[len];
            ++len;
        }
    item->szItemText[len] = 0;
    item->pNext = nullptr;

    ListboxItem** link = &pFirstItem;
    while (*link) link = &(*link)->pNext;
    *link = item;
    return nItemCount++;
}

void tideGUIListbox::DeleteItem(int n)
{
    if (n < 0 || n >= nItemCount) return;
    ListboxItem** link = &pFirstItem;
    for (int i = 0; i < n; ++i) link = &(*link)->pNext;
    ListboxItem* item = *link;
    *link = item->pNext;
    delete item;
    --nItemCount;
}

char* tideGUIListbox::GetItemText(int n) const
{
    ListboxItem* item = Item(n);
    return item ? item->szItemText : nullptr;
}

void tideGUIListbox::Clear()
{
    while (pFirstItem) {
        ListboxItem* next = pFirstItem->pNext;
        delete pFirstItem;
        pFirstItem = next;
    }
    nItemCount = 0;
}

int tideGUIListbox::GetNumRows() const
{
    const float h = LineHeight();
    return h >= 1 ? int((rect.y2 - rect.y1) / h) : 0;
}

void tideGUIListbox::Render()
{
    if (ShowsKeyFocus()) RenderFocusFrame(rect, 0xC0FFE066);
    if (!pFont) return;
    const float h = LineHeight();
    const int rows = GetNumRows();
    ListboxItem* item = Item(nFirstVisible);
    for (int i = 0; i < rows && item; ++i, item = item->pNext) {
        const float y = rect.y1 + i * h;
        if (nFirstVisible + i == nSelected) {
            sprSelection->Render(rect.x1, y);
            pFont->SetColor(dwSelectedTextColor);
        } else {
            pFont->SetColor(dwTextColor);
        }
        pFont->Render(rect.x1 + 3, y, TEXT_LEFT, item->szItemText);
    }
}

bool tideGUIListbox::MouseMove(float x, float y)
{
    fMouseX = x;
    fMouseY = y;
    return false;
}

// The press comes before this frame's MouseMove, so the row is the one under
// the mouse in the previous frame.
bool tideGUIListbox::MouseLButton(bool down)
{
    const int rowHeight = int(LineHeight());
    if (!down || rowHeight < 1) return false;
    const int item = nFirstVisible + int(fMouseY) / rowHeight;
    if (item < 0 || item >= nItemCount) return false;
    nSelected = item;
    return true;
}

bool tideGUIListbox::MouseWheel(int notches)
{
    nFirstVisible -= notches;
    const int maxFirst = nItemCount - GetNumRows();
    if (nFirstVisible > maxFirst) nFirstVisible = maxFirst;
    if (nFirstVisible < 0) nFirstVisible = 0;
    return true;
}

bool tideGUIListbox::KeyClick(int key, int chr)
{
    (void)chr;
    if (key == TIDEK_UP) {
        if (nSelected > 0) {
            --nSelected;
            if (nSelected < nFirstVisible) nFirstVisible = nSelected;
        }
        return true;
    }
    if (key == TIDEK_DOWN) {
        if (nSelected < nItemCount - 1) {
            ++nSelected;
            const int rows = GetNumRows();
            if (nSelected >= nFirstVisible + rows) nFirstVisible = nSelected - rows + 1;
        }
        return true;
    }
    return false;
}
