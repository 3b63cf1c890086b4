#include "gui/gui.h"

Tide* tideGUIObject::tide = nullptr;

tideGUIObject::tideGUIObject() { tide = tideCreate(TIDE_VERSION); }

tideGUIObject::~tideGUIObject() { tide->Release(); }
