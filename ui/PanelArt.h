// The panel's button art: toolbar strip, menu icons and tab images, drawn
// at 16, 24 and 32 pixels. A bitmap is named by its 16-pixel id; its larger
// versions have that id plus IDB_STEP_24 and IDB_STEP_32.
#pragma once

#include <array>

#include "framework/Handles.h"

inline constexpr std::array<int, 3> kArtSizes = {16, 24, 32};

// The commands of the main menu that show an icon, with its bitmap.
struct MenuIcon {
    UINT command;
    int bitmap16;
};
extern const std::array<MenuIcon, 12> kMenuIcons;

// The art size for a DPI: 16 below 141 DPI, 24 below 189, then 32.
int ArtSizeForDpi(UINT dpi);
// The resource id of a bitmap at one of the art sizes.
int ArtBitmapId(int bitmap16, int size);
// The bitmap at a size with the standard button colours recoloured to the
// system's; the 16-pixel art stretched when there is none of that size;
// null when the bitmap is missing.
UniqueBitmap LoadArtBitmap(int bitmap16, int size);
// The images of a strip of `size`-pixel art, `height` rows of each shown,
// with the button face as the transparent colour; null when the bitmap is
// missing.
UniqueImageList CreateArtImages(int bitmap16, int size, int height);
// The images of IDB_TABS, left to right.
enum TabImage { kTabImageSelect, kTabImageMsw, kTabImageParam };
// The tab control's images for a DPI (bitmap IDB_TABS, light gray transparent).
UniqueImageList CreateTabImages(UINT dpi);
