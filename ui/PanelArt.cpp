#include "PanelArt.h"

#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/ResourceData.h"
#include "resource.h"

namespace {

bool HasBitmap(int id)
{
    std::size_t size = 0;
    return FindResourceBytes(MAKEINTRESOURCEW(id), RT_BITMAP, size) != nullptr;
}

// 16-pixel art at `size` pixels. Pixel art stays pixel art: whole pixels are
// repeated, never blended.
UniqueBitmap Stretched(HBITMAP source, int size)
{
    BITMAP info{};
    if (!::GetObjectW(source, sizeof info, &info))
        return {};
    const WindowDc screen(nullptr);
    UniqueBitmap target(
        ::CreateCompatibleBitmap(screen.get(), info.bmWidth * size / 16, info.bmHeight * size / 16));
    const UniqueMemoryDc from(::CreateCompatibleDC(screen.get()));
    const UniqueMemoryDc to(::CreateCompatibleDC(screen.get()));
    if (!target || !from || !to)
        return {};
    const SelectedObject fromSelected(from.get(), source);
    const SelectedObject toSelected(to.get(), target.get());
    ::SetStretchBltMode(to.get(), COLORONCOLOR);
    ::StretchBlt(to.get(), 0, 0, info.bmWidth * size / 16, info.bmHeight * size / 16, from.get(), 0, 0,
                 info.bmWidth, info.bmHeight, SRCCOPY);
    return target;
}

}  // namespace

// In the order the main window gives them.
const std::array<MenuIcon, 12> kMenuIcons = {{
    {ID_FILE_OPEN, IDB_MENU_OPEN},
    {ID_FILE_SAVE, IDB_MENU_SAVE},
    {ID_FACTORY, IDB_MENU_FACTORY},
    {ID_SELECT_PRINTER, IDB_MENU_PRINTER},
    {ID_SEND, IDB_MENU_SEND},
    {ID_SEND_HISTORY, IDB_MENU_HISTORY},
    {ID_PAGE_SELECT, IDB_MENU_SELECT},
    {ID_PAGE_PARAM, IDB_MENU_PARAM},
    {ID_PAGE_MSW1, IDB_MENU_MSW},
    {ID_PAGE_MSW2, IDB_MENU_MSW},
    {ID_PAGE_MSW3, IDB_MENU_MSW},
    {ID_PAGE_MSW4, IDB_MENU_MSW},
}};

int ArtSizeForDpi(UINT dpi) { return PickArtSize(dpi, kArtSizes); }

int ArtBitmapId(int bitmap16, int size)
{
    switch (size) {
    case 24: return bitmap16 + IDB_STEP_24;
    case 32: return bitmap16 + IDB_STEP_32;
    default: return bitmap16;
    }
}

UniqueBitmap LoadArtBitmap(int bitmap16, int size)
{
    const int id = ArtBitmapId(bitmap16, size);
    if (id != bitmap16 && HasBitmap(id))
        return LoadSysColourBitmap(id);
    UniqueBitmap small = LoadSysColourBitmap(bitmap16);
    if (!small || size == 16)
        return small;
    return Stretched(small.get(), size);
}

UniqueImageList CreateArtImages(int bitmap16, int size, int height)
{
    const UniqueBitmap bitmap = LoadArtBitmap(bitmap16, size);
    if (!bitmap)
        return {};
    UniqueImageList images(::ImageList_Create(size, height, ILC_COLOR24 | ILC_MASK, 1, 1));
    if (!images || ::ImageList_AddMasked(images.get(), bitmap.get(), ::GetSysColor(COLOR_BTNFACE)) < 0)
        return {};
    return images;
}

UniqueImageList CreateTabImages(UINT dpi)
{
    const int size = ArtSizeForDpi(dpi);
    return UniqueImageList(::ImageList_LoadImageW(::GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(ArtBitmapId(IDB_TABS, size)), size, 1,
                                                  RGB(192, 192, 192), IMAGE_BITMAP, LR_CREATEDIBSECTION));
}
