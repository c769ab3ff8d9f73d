// One item of a CIconMenu: its text, icon and the flags it was made with.
// The item's owner-draw data points at its record.
#pragma once

#include <string>

#include "framework/Handles.h"

struct IconMenuItem {
    // For items with an accelerator: left part, one tab, accelerator text.
    std::wstring text;
    int imageIndex = -1;     // in imageList; -1 without icon
    int bitmapId = -1;       // icon source bitmap; -1 without icon
    UINT flags = 0;          // MF_ flags the item was made with
    UINT_PTR commandId = 0;  // popup handle for popups, 0 for separators
    UniqueImageList imageList;
};
