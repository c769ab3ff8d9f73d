#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "resource.h"
#include "ui/IconMenu.h"
#include "ui/PanelArt.h"
#include "ui/PanelToolBar.h"

namespace {

struct DpiCase {
    UINT dpi;
    int art;  // the art size drawn at that DPI
};
// 120 DPI has room for 20 pixels: the 16-pixel art is centred, not stretched.
const DpiCase kDpis[] = {{96, 16}, {120, 16}, {144, 24}, {192, 32}};

int FontHeight(HFONT font)
{
    LOGFONTW info{};
    ::GetObjectW(font, sizeof info, &info);
    return std::abs(static_cast<int>(info.lfHeight));
}

SIZE IconSize(HIMAGELIST images)
{
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    return {cx, cy};
}

// What `draw` paints on a w x h picture that starts out magenta.
class Picture {
public:
    static constexpr COLORREF kBlank = RGB(255, 0, 255);

    Picture(int w, int h, const std::function<void(HDC)>& draw) : w_(w), h_(h), pixels_(std::size_t(w) * h)
    {
        const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            const SelectedObject selected(dc.get(), bitmap.get());
            const UniqueBrush blank(::CreateSolidBrush(kBlank));
            const RECT all{0, 0, w, h};
            ::FillRect(dc.get(), &all, blank.get());
            draw(dc.get());
            ::GdiFlush();
        }
        const auto* raw = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < pixels_.size(); ++i)
            pixels_[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    }

    COLORREF At(int x, int y) const { return pixels_[std::size_t(y) * w_ + x]; }
    int Count(const RECT& area, COLORREF colour) const
    {
        int n = 0;
        for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, h_); ++y)
            for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, w_); ++x)
                n += At(x, y) == colour;
        return n;
    }

private:
    int w_, h_;
    std::vector<COLORREF> pixels_;
};

TEST(ArtSize, FollowsTheDpiWithoutStretchingArtUp)
{
    for (const auto& c : kDpis)
        EXPECT_EQ(ArtSizeForDpi(c.dpi), c.art) << c.dpi;
    EXPECT_EQ(ArtSizeForDpi(72), 16) << "below 96 the smallest art is the least";
    // The room is 16 pixels scaled and rounded: 23.5 of them take 24.
    EXPECT_EQ(ArtSizeForDpi(140), 16);
    EXPECT_EQ(ArtSizeForDpi(141), 24);
    EXPECT_EQ(ArtSizeForDpi(188), 24);
    EXPECT_EQ(ArtSizeForDpi(189), 32);
    EXPECT_EQ(ArtSizeForDpi(480), 32) << "above the largest art, the largest";

    const int sizes[] = {16, 20, 24, 32, 48};
    EXPECT_EQ(PickArtSize(120, sizes), 20);
    EXPECT_EQ(PickArtSize(288, sizes), 48);
    EXPECT_EQ(PickArtSize(192, sizes, 32), 48) << "base 32 at 192 DPI has room for 64";
    EXPECT_EQ(PickArtSize(144, std::span<const int>{}), 16) << "no art: the base size";
}

TEST(ArtResources, EverySixteenPixelBitmapHasItsLargerVersions)
{
    struct Strip {
        int id;
        int images;
    };
    const Strip strips[] = {{IDB_TOOLBAR, 6},      {IDB_TABS, 4},        {IDB_MENU_OPEN, 1},
                            {IDB_MENU_SAVE, 1},    {IDB_MENU_SEND, 1},   {IDB_MENU_FACTORY, 1},
                            {IDB_MENU_PRINTER, 1}, {IDB_MENU_PARAM, 1},  {IDB_MENU_MSW, 1},
                            {IDB_MENU_SELECT, 1},  {IDB_MENU_HISTORY, 1}};
    for (const Strip& strip : strips) {
        for (const int size : kArtSizes) {
            SCOPED_TRACE(testing::Message() << "bitmap " << strip.id << " at " << size);
            // Straight from the resource: a stretched stand-in would not count.
            const UniqueBitmap bitmap(static_cast<HBITMAP>(
                ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ArtBitmapId(strip.id, size)),
                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            ASSERT_TRUE(bitmap);
            BITMAP info{};
            ::GetObjectW(bitmap.get(), sizeof info, &info);
            EXPECT_EQ(info.bmWidth, strip.images * size);
            EXPECT_EQ(info.bmHeight, size);
            // The icon menu shows one row less than the art is high.
            const Picture picture(info.bmWidth, size, [&](HDC dc) {
                const UniqueMemoryDc source(::CreateCompatibleDC(dc));
                const SelectedObject selected(source.get(), bitmap.get());
                ::BitBlt(dc, 0, 0, info.bmWidth, size, source.get(), 0, 0, SRCCOPY);
            });
            EXPECT_EQ(picture.Count({0, size - 1, info.bmWidth, size}, RGB(192, 192, 192)), info.bmWidth);
        }
    }
}

TEST(ArtResources, AMissingSizeIsTheSmallArtStretchedAndAMissingBitmapNothing)
{
    const UniqueBitmap stretched = LoadArtBitmap(IDB_MENU_OPEN, 48);
    ASSERT_TRUE(stretched);
    BITMAP info{};
    ::GetObjectW(stretched.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 48);
    EXPECT_EQ(info.bmHeight, 48);
    EXPECT_FALSE(LoadArtBitmap(9999, 24));
    EXPECT_FALSE(CreateArtImages(9999, 32, 31));
}

class DpiFunctionsTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { UsePerMonitorDpiFunctions(GetParam()); }
    void TearDown() override { UsePerMonitorDpiFunctions(true); }
};

// With the per-monitor functions and without them (as on Windows 7) the
// results agree, and follow the DPI from the system's own values.
TEST_P(DpiFunctionsTest, MetricsAndMenuFontScaleFromTheSystemDpi)
{
    const UINT system = SystemDpi();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int systemFont = std::abs(static_cast<int>(metrics.lfMenuFont.lfHeight));
    const int systemBar = ::GetSystemMetrics(SM_CYMENU);

    EXPECT_EQ(SystemMetricForDpi(SM_CYMENU, system), systemBar);
    EXPECT_EQ(FontHeight(MenuFontForDpi(system).get()), systemFont);
    int lastFont = 0, lastBar = 0;
    for (const UINT dpi : {96u, 120u, 144u, 192u, 288u}) {
        SCOPED_TRACE(dpi);
        const int font = FontHeight(MenuFontForDpi(dpi).get());
        const int bar = SystemMetricForDpi(SM_CYMENU, dpi);
        EXPECT_NEAR(font, ::MulDiv(systemFont, static_cast<int>(dpi), static_cast<int>(system)), 1);
        // Without the system's help the bar scales in proportion; the
        // system itself builds it from the font and margins.
        if (!GetParam()) {
            EXPECT_EQ(bar, ::MulDiv(systemBar, static_cast<int>(dpi), static_cast<int>(system)));
        }
        EXPECT_GT(font, lastFont);
        EXPECT_GT(bar, lastBar);
        lastFont = font;
        lastBar = bar;
    }
}

TEST_P(DpiFunctionsTest, AWindowHasTheScreensDpiOnAScreenOfOneDpi)
{
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowDpi(window), SystemDpi());
    EXPECT_EQ(WindowDpi(nullptr), SystemDpi());
    ::DestroyWindow(window);
    EXPECT_GE(SystemDpi(), 72u);
}

INSTANTIATE_TEST_SUITE_P(PerMonitorAndWindows7, DpiFunctionsTest, testing::Bool());

class IconMenuDpiTest : public testing::Test {
protected:
    CIconMenu menu;

    void SetUp() override
    {
        ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN));
        menu.SetItemIcon(nullptr, ID_FILE_OPEN, IDB_MENU_OPEN);
        menu.SetItemIcon(nullptr, ID_SEND, IDB_MENU_SEND);
    }
    CIconMenu& File() const { return *CIconMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 0)); }
    IconMenuItem& Record(int position) const { return *File().Items()[static_cast<std::size_t>(position)]; }
    MEASUREITEMSTRUCT Measure(int position) const
    {
        MEASUREITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemData = reinterpret_cast<ULONG_PTR>(&Record(position));
        menu.MeasureItem(request);
        return request;
    }
    Picture Draw(int position, UINT state, const RECT& rc) const
    {
        return Picture(rc.right + 10, rc.bottom + 10, [&](HDC dc) {
            DRAWITEMSTRUCT request{};
            request.CtlType = ODT_MENU;
            request.itemAction = ODA_DRAWENTIRE;
            request.itemState = state;
            request.hDC = dc;
            request.rcItem = rc;
            request.itemData = reinterpret_cast<ULONG_PTR>(&Record(position));
            File().DrawItem(request);
        });
    }
};

TEST_F(IconMenuDpiTest, IconsItemsAndSeparatorsGrowWithTheDpi)
{
    std::map<UINT, MEASUREITEMSTRUCT> items;
    for (const auto& c : kDpis) {
        SCOPED_TRACE(c.dpi);
        menu.SetDpi(c.dpi);
        EXPECT_EQ(menu.Dpi(), c.dpi);
        EXPECT_EQ(File().Dpi(), c.dpi) << "the popups follow the bar";
        const IconMenuItem& open = Record(0);
        ASSERT_TRUE(open.imageList);
        EXPECT_EQ(::ImageList_GetImageCount(open.imageList.get()), 1);
        const SIZE icon = IconSize(open.imageList.get());
        EXPECT_EQ(icon.cx, c.art);
        EXPECT_EQ(icon.cy, c.art - 1);
        EXPECT_EQ(open.bitmapId, IDB_MENU_OPEN) << "records keep the 16-pixel id";

        const int bar = SystemMetricForDpi(SM_CYMENU, c.dpi);
        const MEASUREITEMSTRUCT item = Measure(0);
        EXPECT_GE(item.itemHeight, static_cast<UINT>(bar));
        EXPECT_GE(item.itemHeight, static_cast<UINT>(icon.cy + 4)) << "room for the icon and its frame";
        EXPECT_EQ(Measure(2).itemHeight, static_cast<UINT>(bar / 2)) << "separator";
        items[c.dpi] = item;
    }
    EXPECT_EQ(items[96].itemHeight, static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), 19)));
    EXPECT_LT(items[96].itemHeight, items[144].itemHeight);
    EXPECT_LT(items[144].itemHeight, items[192].itemHeight);
    EXPECT_LT(items[96].itemWidth, items[120].itemWidth);
    EXPECT_LT(items[144].itemWidth, items[192].itemWidth);
    // Text and icon column both double from 96 to 192 DPI.
    EXPECT_NEAR(static_cast<double>(items[192].itemWidth) / items[96].itemWidth, 2.0, 0.25);
}

TEST_F(IconMenuDpiTest, AcceleratorsLineUpInTheFontOfTheDpiAndComeBackAtNinetySix)
{
    std::vector<std::wstring> at96;
    for (const auto& record : File().Items())
        at96.push_back(record->text);
    menu.SetDpi(192);

    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const UniqueFont font = MenuFontForDpi(192);
    const SelectedObject selected(dc.get(), font.get());
    const auto width = [&](const std::wstring& text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    LONG target = 0;
    for (const auto& record : File().Items()) {
        std::wstring left = record->text.substr(0, record->text.find(L'\t'));
        left.erase(left.find_last_not_of(L' ') + 1);
        target = std::max(target, width(left + L" "));
    }
    for (const auto& record : File().Items()) {
        const std::size_t tab = record->text.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        const std::wstring left = record->text.substr(0, tab);
        EXPECT_GE(width(left), target) << left.size();
        EXPECT_LT(width(left.substr(0, left.size() - 1)), target) << "no more spaces than needed";
    }

    menu.SetDpi(96);
    std::vector<std::wstring> back;
    for (const auto& record : File().Items())
        back.push_back(record->text);
    EXPECT_EQ(back, at96);
}

TEST_F(IconMenuDpiTest, SetDpiKeepsTheItemsStateAndTheirRecords)
{
    const HMENU file = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    ::EnableMenuItem(file, ID_SEND, MF_BYCOMMAND | MF_GRAYED);
    menu.SetDpi(144);
    EXPECT_TRUE(::GetMenuState(file, ID_SEND, MF_BYCOMMAND) & MF_GRAYED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(::GetMenuItemInfoW(file, ID_SEND, FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&Record(3)));
    EXPECT_EQ(::GetMenuItemCount(file), static_cast<int>(File().Items().size()));
}

TEST_F(IconMenuDpiTest, AtTwiceTheDpiTheIconColumnAndIconAreTwiceAsLarge)
{
    constexpr int L = 6, T = 4;
    const COLORREF bar = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF outline = ::GetSysColor(COLOR_BTNTEXT);
    int iconInk96 = 0;
    {
        const RECT item{L, T, L + 300, T + static_cast<LONG>(Measure(0).itemHeight)};
        const Picture picture = Draw(0, ODS_SELECTED, item);
        EXPECT_EQ(picture.Count({L, T, L + 21, item.bottom}, bar), 0);
        EXPECT_EQ(picture.Count({L + 21, T, L + 22, item.bottom}, bar), item.bottom - T);
        iconInk96 = picture.Count({L, T, L + 21, item.bottom}, outline);
    }
    menu.SetDpi(192);
    const RECT item{L, T, L + 600, T + static_cast<LONG>(Measure(0).itemHeight)};
    const Picture picture = Draw(0, ODS_SELECTED, item);
    // 32-pixel icon, 4 pixels of frame on each side: the bar starts at 41.
    EXPECT_EQ(picture.Count({L, T, L + 41, item.bottom}, bar), 0);
    EXPECT_EQ(picture.Count({L + 41, T, L + 42, item.bottom}, bar), item.bottom - T);
    const int iconInk = picture.Count({L, T, L + 41, item.bottom}, outline);
    EXPECT_GT(iconInk, iconInk96 * 3 / 2) << iconInk96;
}

TEST_F(IconMenuDpiTest, AGrayedIconOfTheLargerArtIsStillOnlyEmbossed)
{
    menu.SetDpi(192);
    const RECT item{0, 0, 500, static_cast<LONG>(Measure(3).itemHeight)};
    const Picture picture = Draw(3, ODS_GRAYED, item);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    int shadows = 0;
    for (int y = 0; y < item.bottom; ++y) {
        for (int x = 0; x < 41; ++x) {
            const COLORREF c = picture.At(x, y);
            EXPECT_TRUE(c == face || c == shadow || c == light || c == menuColour)
                << x << "," << y << " " << std::hex << c;
            shadows += c == shadow;
        }
    }
    EXPECT_GT(shadows, 80) << "the shape of a 32-pixel icon";
    // The art's background stays face: only the shape is embossed.
    const POINT origin = CIconMenuMetrics(192).IconOrigin(item);
    EXPECT_EQ(picture.At(origin.x, origin.y), face);
}

TEST(IconMenuDpi, StartsAtTheScreensDpiAndLoadsPopupsAtItsOwn)
{
    CIconMenu menu;
    EXPECT_EQ(menu.Dpi(), SystemDpi());
    menu.SetDpi(144);
    ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN));
    menu.SetItemIcon(nullptr, ID_PAGE_MSW1, IDB_MENU_MSW);
    const CIconMenu& pages = *CIconMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 1));
    EXPECT_EQ(pages.Dpi(), 144u);
    const IconMenuItem& msw1 = *pages.Items()[2];
    ASSERT_TRUE(msw1.imageList);
    EXPECT_EQ(IconSize(msw1.imageList.get()).cx, 24);
}

class ToolBarDpiTest : public testing::Test {
protected:
    HWND parent = nullptr;
    CPanelToolBar toolbar;

    void SetUp() override
    {
        parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(toolbar.Create(parent, IDC_TOOLBAR, IDB_TOOLBAR));
    }
    void TearDown() override { ::DestroyWindow(parent); }
};

TEST_F(ToolBarDpiTest, ButtonsTakeTheArtAndPaddingOfTheDpi)
{
    EXPECT_EQ(toolbar.Dpi(), WindowDpi(parent));
    toolbar.EnableButton(ID_TB_SEND, false);
    int lastHeight = 0;
    for (const auto& c : kDpis) {
        SCOPED_TRACE(c.dpi);
        toolbar.SetDpi(c.dpi);
        const auto images = reinterpret_cast<HIMAGELIST>(toolbar.SendMessage(TB_GETIMAGELIST));
        ASSERT_NE(images, nullptr);
        EXPECT_EQ(::ImageList_GetImageCount(images), 6);
        const SIZE icon = IconSize(images);
        EXPECT_EQ(icon.cx, c.art);
        EXPECT_EQ(icon.cy, c.art);
        const LRESULT button = toolbar.SendMessage(TB_GETBUTTONSIZE);
        EXPECT_EQ(LOWORD(button), c.art + ScaleForDpi(7, c.dpi));
        EXPECT_EQ(HIWORD(button), c.art + ScaleForDpi(6, c.dpi));
        RECT rc{};
        ::GetWindowRect(toolbar.m_hWnd, &rc);
        EXPECT_GE(rc.bottom - rc.top, HIWORD(button)) << "the bar fits its buttons";
        EXPECT_GE(rc.bottom - rc.top, lastHeight);
        lastHeight = rc.bottom - rc.top;
        EXPECT_FALSE(toolbar.IsButtonEnabled(ID_TB_SEND)) << "a new DPI changes no button's state";
        EXPECT_TRUE(toolbar.IsButtonEnabled(ID_TB_OPEN));
    }
    toolbar.SetDpi(96);
    EXPECT_EQ(toolbar.SendMessage(TB_GETBUTTONSIZE), MAKELONG(23, 22)) << "the classic button";
}

TEST(TabImages, OneImageListPerDpiWithTheBackgroundLeftOut)
{
    for (const auto& c : kDpis) {
        SCOPED_TRACE(c.dpi);
        const UniqueImageList images = CreateTabImages(c.dpi);
        ASSERT_TRUE(images);
        EXPECT_EQ(::ImageList_GetImageCount(images.get()), 4);
        const SIZE icon = IconSize(images.get());
        EXPECT_EQ(icon.cx, c.art);
        EXPECT_EQ(icon.cy, c.art);
        // Drawn transparently: the corners (background) leave the picture
        // as it was, the middle of the first image (a sheet) does not.
        const Picture picture(c.art, c.art,
                              [&](HDC dc) { ::ImageList_Draw(images.get(), 0, dc, 0, 0, ILD_TRANSPARENT); });
        EXPECT_EQ(picture.At(0, c.art - 1), Picture::kBlank);
        EXPECT_EQ(picture.At(c.art - 1, c.art - 1), Picture::kBlank);
        EXPECT_NE(picture.At(c.art / 2, c.art / 2), Picture::kBlank);
    }
}

}  // namespace
