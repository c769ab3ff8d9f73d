#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "resource.h"
#include "ui/IconMenu.h"
#include "PanelUnderTest.h"

namespace {

constexpr UINT kPopupOwnerDraw = MF_POPUP | MF_OWNERDRAW;
constexpr UINT kSeparator = MF_SEPARATOR | MF_OWNERDRAW;
constexpr int kIconColumn = 16 + 5;  // the highlight bar starts here

struct Expected {
    const char* text;  // before the tab, unpadded
    const char* accelerator;
    UINT flags;
    UINT command;
};

const std::vector<Expected> kFileItems = {
    {"設定ファイルの読み込み(&O)...", "Ctrl+O", MF_OWNERDRAW, ID_FILE_OPEN},
    {"設定ファイルへの書き込み(&S)...", "Ctrl+S", MF_OWNERDRAW, ID_FILE_SAVE},
    {"", nullptr, kSeparator, 0},
    {"設定値をプリンタへ送信(&W)", "Ctrl+W", MF_OWNERDRAW, ID_SEND},
    {"送信履歴(&H)...", "Ctrl+H", MF_OWNERDRAW, ID_SEND_HISTORY},
    {"工場出荷設定を表示(&I)", "Ctrl+I", MF_OWNERDRAW, ID_FACTORY},
    {"", nullptr, kSeparator, 0},
    {"プリンタの選択(&C)...", "Ctrl+C", MF_OWNERDRAW, ID_SELECT_PRINTER},
    {"", nullptr, kSeparator, 0},
    {"終了(&X)", "Alt+F4", MF_OWNERDRAW, ID_FILE_EXIT},
};
const std::vector<Expected> kPageItems = {
    {"機能選択(&K)", "Ctrl+K", MF_OWNERDRAW, ID_PAGE_SELECT},
    {"パラメータ設定（&P）", "Ctrl+P", MF_OWNERDRAW, ID_PAGE_PARAM},
    {"メモリスイッチ１(&1)", "Ctrl+1", MF_OWNERDRAW, ID_PAGE_MSW1},
    {"メモリスイッチ２(&2)", "Ctrl+2", MF_OWNERDRAW, ID_PAGE_MSW2},
    {"メモリスイッチ３(&3)", "Ctrl+3", MF_OWNERDRAW, ID_PAGE_MSW3},
    {"メモリスイッチ４(&4)", "Ctrl+4", MF_OWNERDRAW, ID_PAGE_MSW4},
    {"", nullptr, kSeparator, 0},
    {"変更点の確認(&V)...", nullptr, MF_OWNERDRAW, ID_REVIEW_CHANGES},
};
const std::vector<Expected> kHelpItems = {
    {"ヘルプ目次(&H)", "F1", MF_OWNERDRAW, ID_HELP_CONTENTS},
    {"", nullptr, kSeparator, 0},
    {"バージョン情報(&A)...", nullptr, MF_OWNERDRAW, ID_APP_ABOUT},
};

UniqueFont MenuFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return UniqueFont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

// Text widths in the menu font.
class MenuTextMeter {
public:
    MenuTextMeter() : dc_(::CreateCompatibleDC(nullptr)), font_(MenuFont()), selected_(dc_.get(), font_.get())
    {
    }
    LONG Width(const std::wstring& text) const
    {
        SIZE size{};
        ::GetTextExtentPoint32W(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    UniqueMemoryDc dc_;
    UniqueFont font_;
    SelectedObject selected_;
};

// A 32-bit memory picture the menu draws into, readable pixel by pixel.
class Canvas {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 40;
    static constexpr COLORREF kUntouched = RGB(255, 0, 255);

    Canvas() : dc_(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        const UniqueBrush brush(::CreateSolidBrush(kUntouched));
        const RECT all{0, 0, kWidth, kHeight};
        ::FillRect(dc_.get(), &all, brush.get());
    }
    ~Canvas() { ::SelectObject(dc_.get(), old_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const std::uint32_t p = bits_[y * kWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& area, COLORREF colour) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == colour;
        return n;
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Distinct system colours for the drawing tests, so that each drawn part
// can be told apart; the previous colours come back afterwards.
class SystemColours {
public:
    SystemColours()
    {
        for (std::size_t i = 0; i < kIndexes.size(); ++i)
            saved_[i] = ::GetSysColor(kIndexes[i]);
        ::SetSysColors(static_cast<int>(kIndexes.size()), kIndexes.data(), kTest.data());
    }
    ~SystemColours() { ::SetSysColors(static_cast<int>(kIndexes.size()), kIndexes.data(), saved_.data()); }

    static constexpr COLORREF kMenu = RGB(212, 208, 200);
    static constexpr COLORREF kFace = kMenu;
    static constexpr COLORREF kHighlightBar = RGB(10, 36, 106);
    static constexpr COLORREF kHighlightText = RGB(250, 250, 240);
    static constexpr COLORREF kMenuText = RGB(0, 0, 0);
    static constexpr COLORREF kButtonHighlight = RGB(255, 255, 255);
    static constexpr COLORREF kShadow = RGB(128, 128, 128);
    static constexpr COLORREF kGrayText = RGB(90, 110, 90);
    static constexpr COLORREF kButtonText = RGB(1, 2, 3);

private:
    static constexpr std::array<int, 9> kIndexes = {COLOR_MENU,          COLOR_BTNFACE,  COLOR_HIGHLIGHT,
                                                    COLOR_HIGHLIGHTTEXT, COLOR_MENUTEXT, COLOR_BTNHIGHLIGHT,
                                                    COLOR_BTNSHADOW,     COLOR_GRAYTEXT, COLOR_BTNTEXT};
    static constexpr std::array<COLORREF, 9> kTest = {kMenu,          kFace,     kHighlightBar,
                                                      kHighlightText, kMenuText, kButtonHighlight,
                                                      kShadow,        kGrayText, kButtonText};
    std::array<COLORREF, 9> saved_{};
};

class IconMenuTest : public testing::Test {
protected:
    CIconMenu menu;

    void SetUp() override { ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN)); }

    HMENU Bar() const { return menu.GetSafeHmenu(); }
    HMENU PopupHandle(int position) const { return ::GetSubMenu(Bar(), position); }
    CIconMenu& Popup(int position) const { return *CIconMenu::FromHandle(PopupHandle(position)); }
    IconMenuItem& Record(int popup, int position) const
    {
        return *Popup(popup).Items()[static_cast<std::size_t>(position)];
    }

    // Both halves of the text, the left one without its padding.
    static std::pair<std::wstring, std::wstring> Split(const std::wstring& text)
    {
        const std::size_t tab = text.find(L'\t');
        if (tab == std::wstring::npos)
            return {text, L""};
        std::wstring left = text.substr(0, tab);
        left.erase(left.find_last_not_of(L' ') + 1);
        return {left, text.substr(tab + 1)};
    }

    void ExpectPopup(int position, const std::vector<Expected>& expected) const
    {
        const HMENU handle = PopupHandle(position);
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(CIconMenu::IsIconMenu(handle));
        const CIconMenu* popup = CIconMenu::FromHandle(handle);
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(popup->Items().size(), expected.size());
        ASSERT_EQ(::GetMenuItemCount(handle), static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "popup " << position << " item " << i);
            const IconMenuItem& record = *popup->Items()[i];
            EXPECT_EQ(record.flags, expected[i].flags);
            EXPECT_EQ(record.commandId, expected[i].command);
            EXPECT_EQ(record.bitmapId, -1);
            EXPECT_EQ(record.imageIndex, -1);
            const auto [left, right] = Split(record.text);
            EXPECT_EQ(left, W(expected[i].text));
            EXPECT_EQ(right, expected[i].accelerator ? W(expected[i].accelerator) : L"");

            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
            ASSERT_TRUE(::GetMenuItemInfoW(handle, static_cast<UINT>(i), TRUE, &info));
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
            EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, expected[i].command == 0);
            EXPECT_EQ(info.wID, expected[i].command);
            EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&record));
            if (expected[i].command) {
                EXPECT_FALSE(info.fState & MFS_GRAYED);
            }
        }
    }

    void Draw(int popup, int position, UINT state, const RECT& rc, Canvas& canvas) const
    {
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemID = Record(popup, position).commandId;
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = state;
        request.hwndItem = reinterpret_cast<HWND>(PopupHandle(popup));
        request.hDC = canvas.dc();
        request.rcItem = rc;
        request.itemData = reinterpret_cast<ULONG_PTR>(&Record(popup, position));
        Popup(popup).DrawItem(request);
    }
};

TEST_F(IconMenuTest, ParsesMenu142IntoAPlainBarWithOwnerDrawnPopups)
{
    ASSERT_EQ(::GetMenuItemCount(Bar()), 3);
    ASSERT_EQ(menu.Items().size(), 3u);
    const char* titles[] = {"ファイル(&F)", "メニュー(&M)", "ヘルプ(&H)"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const IconMenuItem& record = *menu.Items()[static_cast<std::size_t>(i)];
        EXPECT_EQ(record.flags, static_cast<UINT>(MF_BYPOSITION | MF_POPUP | MF_STRING));
        EXPECT_EQ(record.commandId, reinterpret_cast<UINT_PTR>(PopupHandle(i)));
        EXPECT_EQ(record.text, W(titles[i]));
        // The bar is drawn by the system, from its own text.
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 64;
        ASSERT_TRUE(::GetMenuItemInfoW(Bar(), static_cast<UINT>(i), TRUE, &info));
        EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
        EXPECT_EQ(std::wstring(text), W(titles[i]));
        EXPECT_EQ(info.hSubMenu, PopupHandle(i));
    }
    EXPECT_FALSE(CIconMenu::IsIconMenu(Bar()));
    ExpectPopup(0, kFileItems);
    ExpectPopup(1, kPageItems);
    ExpectPopup(2, kHelpItems);
    EXPECT_EQ(CIconMenu::IconPopupHandles(),
              (std::vector<HMENU>{PopupHandle(0), PopupHandle(1), PopupHandle(2)}));
}

TEST_F(IconMenuTest, PadsTheLeftPartsOfAPopupToTheWidestPlusASpace)
{
    const MenuTextMeter meter;
    for (int popup = 0; popup < 3; ++popup) {
        SCOPED_TRACE(popup);
        LONG target = 0;
        for (const auto& record : Popup(popup).Items())
            target = std::max(target, meter.Width(Split(record->text).first + L" "));
        for (const auto& record : Popup(popup).Items()) {
            const std::size_t tab = record->text.find(L'\t');
            if (tab == std::wstring::npos)
                continue;
            const std::wstring left = record->text.substr(0, tab);
            const std::wstring bare = Split(record->text).first;
            ASSERT_GT(left.size(), bare.size()) << "at least one space";
            EXPECT_EQ(left.find_first_not_of(L' ', bare.size()), std::wstring::npos);
            EXPECT_GE(meter.Width(left), target);
            // No more spaces than needed.
            EXPECT_LT(meter.Width(left.substr(0, left.size() - 1)), target);
        }
    }
    // Texts without a tab keep their text.
    EXPECT_EQ(Record(2, 2).text, W("バージョン情報(&A)..."));
    EXPECT_EQ(Record(2, 1).text, L"");
}

TEST_F(IconMenuTest, MeasuresSeparatorsAndItems)
{
    const int barHeight = ::GetSystemMetrics(SM_CYMENU);
    const MenuTextMeter meter;
    MEASUREITEMSTRUCT request{};
    request.CtlType = ODT_MENU;
    request.itemData = reinterpret_cast<ULONG_PTR>(&Record(0, 2));
    menu.MeasureItem(request);
    EXPECT_EQ(request.itemWidth, 0u);
    EXPECT_EQ(request.itemHeight, static_cast<UINT>(barHeight / 2));

    std::set<UINT> fileWidths;
    for (int i : {0, 1, 3, 4, 5, 7, 9}) {
        SCOPED_TRACE(i);
        request = {};
        request.CtlType = ODT_MENU;
        request.itemData = reinterpret_cast<ULONG_PTR>(&Record(0, i));
        Popup(2).MeasureItem(request);  // any icon menu answers for any item
        EXPECT_EQ(request.itemHeight, static_cast<UINT>(std::max(barHeight, 19)));
        EXPECT_GE(request.itemHeight, 19u);
        EXPECT_EQ(request.itemWidth, static_cast<UINT>(meter.Width(Record(0, i).text) + 33));
        fileWidths.insert(request.itemWidth);
    }
    // Padded alike, the items differ by at most their accelerator texts.
    EXPECT_LT(*fileWidths.rbegin() - *fileWidths.begin(),
              static_cast<UINT>(meter.Width(L"Alt+F4") + meter.Width(L" ")));
}

TEST_F(IconMenuTest, AnswersMnemonicsOfOpenPopupsOnly)
{
    const LRESULT executeFirst = (2 << 16) | 0;
    EXPECT_EQ(CIconMenu::FindMnemonic('O', MF_POPUP, PopupHandle(0)), executeFirst);
    EXPECT_EQ(CIconMenu::FindMnemonic('o', MF_POPUP, PopupHandle(0)), executeFirst);
    EXPECT_EQ(CIconMenu::FindMnemonic('x', MF_POPUP, PopupHandle(0)), (2 << 16) | 9);
    EXPECT_EQ(CIconMenu::FindMnemonic('h', MF_POPUP, PopupHandle(0)), (2 << 16) | 4);
    EXPECT_EQ(CIconMenu::FindMnemonic('p', MF_POPUP, PopupHandle(1)), (2 << 16) | 1);
    EXPECT_EQ(CIconMenu::FindMnemonic('4', MF_POPUP, PopupHandle(1)), (2 << 16) | 5);
    EXPECT_EQ(CIconMenu::FindMnemonic('A', MF_POPUP, PopupHandle(2)), (2 << 16) | 2);
    // No such mnemonic, a letter that only appears without "&", wrong flags,
    // a menu that is not ours.
    EXPECT_EQ(CIconMenu::FindMnemonic('Z', MF_POPUP, PopupHandle(0)), 0);
    EXPECT_EQ(CIconMenu::FindMnemonic('t', MF_POPUP, PopupHandle(0)), 0);
    EXPECT_EQ(CIconMenu::FindMnemonic('O', 0, PopupHandle(0)), 0);
    EXPECT_EQ(CIconMenu::FindMnemonic('O', MF_SYSMENU, PopupHandle(0)), 0);
    EXPECT_EQ(CIconMenu::FindMnemonic('O', MF_POPUP, nullptr), 0);
    const HMENU foreign = ::CreatePopupMenu();
    ::AppendMenuW(foreign, MF_STRING, 1, L"&Open");
    EXPECT_EQ(CIconMenu::FindMnemonic('o', MF_POPUP, foreign), 0);
    ::DestroyMenu(foreign);
    // A character outside code page 932 whose low byte is 'O' is no O.
    EXPECT_EQ(CIconMenu::FindMnemonic(0x0A4F, MF_POPUP, PopupHandle(0)), 0);
}

TEST_F(IconMenuTest, SetItemIconGivesTheIconAndEnablesTheItem)
{
    const std::wstring before = Record(0, 3).text;
    ::EnableMenuItem(Bar(), ID_SEND, MF_BYCOMMAND | MF_GRAYED);
    ASSERT_TRUE(::GetMenuState(Bar(), ID_SEND, MF_BYCOMMAND) & MF_GRAYED);
    menu.SetItemIcon(nullptr, ID_SEND, IDB_MENU_SEND);

    EXPECT_FALSE(::GetMenuState(Bar(), ID_SEND, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    const IconMenuItem& record = Record(0, 3);
    EXPECT_EQ(record.text, before);
    EXPECT_EQ(record.bitmapId, IDB_MENU_SEND);
    EXPECT_EQ(record.imageIndex, 0);
    EXPECT_EQ(record.flags, static_cast<UINT>(MF_OWNERDRAW));
    EXPECT_EQ(record.commandId, static_cast<UINT>(ID_SEND));
    ASSERT_TRUE(record.imageList);
    EXPECT_EQ(::ImageList_GetImageCount(record.imageList.get()), 1);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(record.imageList.get(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 15);
    EXPECT_EQ(Popup(0).Items().size(), kFileItems.size());

    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(::GetMenuItemInfoW(Bar(), ID_SEND, FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&record));

    // Again with a new text (code page 932) and the same bitmap: one image.
    menu.SetItemIcon(ToCp932(W("送信(&W)\tCtrl+W")).c_str(), ID_SEND, IDB_MENU_SEND);
    EXPECT_EQ(Record(0, 3).text, W("送信(&W)\tCtrl+W"));
    EXPECT_EQ(::ImageList_GetImageCount(Record(0, 3).imageList.get()), 1);
}

TEST_F(IconMenuTest, AMissingBitmapLeavesTheItemWithoutIcon)
{
    menu.SetItemIcon(nullptr, ID_FILE_OPEN, IDB_MENU_OPEN);
    menu.SetItemIcon(nullptr, ID_FILE_OPEN, 9999);
    const IconMenuItem& record = Record(0, 0);
    EXPECT_EQ(record.bitmapId, -1);
    EXPECT_EQ(record.imageIndex, -1);
    EXPECT_FALSE(record.imageList);
    EXPECT_EQ(record.flags, static_cast<UINT>(MF_OWNERDRAW));
    EXPECT_TRUE(::GetMenuState(Bar(), ID_FILE_OPEN, MF_BYCOMMAND) & MF_OWNERDRAW);
}

TEST_F(IconMenuTest, DestroyMenuForgetsEveryPopup)
{
    const HMENU bar = Bar();
    const HMENU popup = PopupHandle(1);
    menu.SetItemIcon(nullptr, ID_PAGE_MSW1, IDB_MENU_MSW);
    ASSERT_EQ(CIconMenu::IconPopupHandles().size(), 3u);
    menu.DestroyMenu();
    EXPECT_TRUE(CIconMenu::IconPopupHandles().empty());
    EXPECT_FALSE(CIconMenu::IsIconMenu(popup));
    EXPECT_EQ(CIconMenu::FromHandle(popup), nullptr);
    EXPECT_EQ(CIconMenu::FromHandle(bar), nullptr);
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    EXPECT_TRUE(menu.Items().empty());
    EXPECT_FALSE(::IsMenu(bar));
    EXPECT_FALSE(::IsMenu(popup));
    // Loading again starts afresh.
    ASSERT_TRUE(menu.LoadMenu(IDR_MENU_MAIN));
    EXPECT_EQ(CIconMenu::IconPopupHandles().size(), 3u);
}

TEST_F(IconMenuTest, ADetachedBarBelongsToItsNewOwner)
{
    const HMENU bar = menu.Detach();
    ASSERT_TRUE(::IsMenu(bar));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    // The popups and their records stay with the object.
    EXPECT_TRUE(CIconMenu::IsIconMenu(::GetSubMenu(bar, 0)));
    EXPECT_EQ(CIconMenu::FindMnemonic('o', MF_POPUP, ::GetSubMenu(bar, 0)), (2 << 16) | 0);
    ::DestroyMenu(bar);
    menu.DestroyMenu();  // the popups are gone already: nothing to fail
    EXPECT_TRUE(CIconMenu::IconPopupHandles().empty());
}

TEST_F(IconMenuTest, LoadMenuFailsForAMissingResource)
{
    CIconMenu other;
    EXPECT_FALSE(other.LoadMenu(4242));
    EXPECT_EQ(other.GetSafeHmenu(), nullptr);
}

class IconMenuDrawTest : public IconMenuTest {
protected:
    SystemColours colours;  // before SetUp, so the icons load with them
    Canvas canvas;
    static constexpr int L = 10, T = 8;
    static constexpr RECT kItem{L, T, L + 280, T + 19};
    static constexpr RECT kIconArea{L + 2, T + 2, L + 18, T + 17};
};

TEST_F(IconMenuDrawTest, SelectedItemWithIconLeavesTheIconColumnOutOfTheBar)
{
    menu.SetItemIcon(nullptr, ID_FILE_OPEN, IDB_MENU_OPEN);
    Draw(0, 0, ODS_SELECTED, kItem, canvas);
    for (int x = kItem.left; x < kItem.right; ++x) {
        const int bar = canvas.Count({x, kItem.top, x + 1, kItem.bottom}, SystemColours::kHighlightBar);
        if (x < L + kIconColumn) {
            EXPECT_EQ(bar, 0) << x;
        } else if (x == L + kIconColumn) {
            EXPECT_EQ(bar, kItem.bottom - kItem.top) << x;
        }
    }
    // Text in the highlight text colour; raised frame around the icon.
    EXPECT_GT(canvas.Count({L + 25, T, L + 200, T + 19}, SystemColours::kHighlightText), 20);
    EXPECT_EQ(canvas.At(L, T), SystemColours::kButtonHighlight);
    EXPECT_EQ(canvas.At(L + 19, T + 18), SystemColours::kShadow);
    // The icon itself, with its black outline in the button text colour.
    EXPECT_GT(canvas.Count(kIconArea, SystemColours::kButtonText), 10);
    EXPECT_EQ(canvas.Count({kItem.left, 0, kItem.right, T}, Canvas::kUntouched),
              (kItem.right - kItem.left) * T);
}

TEST_F(IconMenuDrawTest, SelectedItemWithoutIconIsHighlightedWhole)
{
    Draw(2, 2, ODS_SELECTED, kItem, canvas);
    EXPECT_EQ(canvas.Count({L, T, L + kIconColumn, T + 19}, SystemColours::kHighlightBar), kIconColumn * 19);
}

TEST_F(IconMenuDrawTest, GrayedItemWithIconIsEmbossed)
{
    menu.SetItemIcon(nullptr, ID_SEND, IDB_MENU_SEND);
    Draw(0, 3, ODS_GRAYED, kItem, canvas);
    const std::set<COLORREF> allowed = {SystemColours::kFace, SystemColours::kShadow,
                                        SystemColours::kButtonHighlight};
    int shadow = 0, highlight = 0;
    for (int y = kIconArea.top; y <= kIconArea.bottom; ++y) {
        for (int x = kIconArea.left; x <= kIconArea.right; ++x) {
            const COLORREF c = canvas.At(x, y);
            EXPECT_TRUE(allowed.count(c)) << x << "," << y << " " << std::hex << c;
            shadow += c == SystemColours::kShadow;
            highlight += c == SystemColours::kButtonHighlight;
        }
    }
    EXPECT_GT(shadow, 20);
    EXPECT_GT(highlight, 5);
    // The icon's bottom row is outline: shadow; its corner is background.
    EXPECT_EQ(canvas.At(kIconArea.left + 5, kIconArea.bottom - 1), SystemColours::kShadow);
    EXPECT_EQ(canvas.At(kIconArea.left, kIconArea.top), SystemColours::kFace);
    // The highlight rim lies one pixel right of and below the shape.
    EXPECT_EQ(canvas.At(kIconArea.left + 5, kIconArea.bottom), SystemColours::kButtonHighlight);
}

TEST_F(IconMenuDrawTest, GrayedTextHasAHighlightShadowOffsetByOne)
{
    Draw(2, 0, ODS_GRAYED, kItem, canvas);  // help contents: no icon
    const RECT text{L + 25, T, kItem.right, kItem.bottom};
    EXPECT_GT(canvas.Count(text, SystemColours::kGrayText), 10);
    EXPECT_GT(canvas.Count(text, SystemColours::kButtonHighlight), 10);
    // Where the gray glyph ends to the lower right, its shadow shows.
    int paired = 0;
    for (int y = text.top; y + 1 < text.bottom; ++y)
        for (int x = text.left; x + 1 < text.right; ++x)
            paired += canvas.At(x, y) == SystemColours::kGrayText &&
                      canvas.At(x + 1, y + 1) == SystemColours::kButtonHighlight;
    EXPECT_GT(paired, 5);
    // Nothing in the icon column but the menu colour.
    EXPECT_EQ(canvas.Count({L, T, L + 21, T + 19}, SystemColours::kMenu), 21 * 19);
    // The accelerator ends 16 pixels inside the right edge.
    int rightmost = 0;
    for (int x = text.left; x < text.right; ++x)
        if (canvas.Count({x, T, x + 1, T + 19}, SystemColours::kGrayText))
            rightmost = x;
    EXPECT_LE(rightmost, kItem.right - 16);
    EXPECT_GE(rightmost, kItem.right - 16 - 3);
}

TEST_F(IconMenuDrawTest, GrayedSelectedTextIsDrawnInTheMenuColourOnTheBar)
{
    Draw(2, 0, ODS_GRAYED | ODS_SELECTED, kItem, canvas);
    const RECT text{L + 25, T, kItem.right, kItem.bottom};
    EXPECT_GT(canvas.Count(text, SystemColours::kMenu), 10);
    EXPECT_EQ(canvas.Count(text, SystemColours::kGrayText), 0);
}

TEST_F(IconMenuDrawTest, ItemWithoutIconDrawsTextOnly)
{
    Draw(1, 0, 0, kItem, canvas);  // no SetItemIcon: no icon
    EXPECT_EQ(canvas.Count({L, T, L + 21, T + 19}, SystemColours::kMenu), 21 * 19);
    EXPECT_GT(canvas.Count({L + 25, T, kItem.right, kItem.bottom}, SystemColours::kMenuText), 20);
}

TEST_F(IconMenuDrawTest, SeparatorIsOneEtchedLineAcrossTheMiddle)
{
    const RECT rc{L, T, L + 200, T + 9};
    Draw(0, 2, 0, rc, canvas);
    const int middle = T + 4;
    EXPECT_EQ(canvas.Count({L, middle, L + 200, middle + 1}, SystemColours::kShadow), 200);
    EXPECT_EQ(canvas.Count({L, middle + 1, L + 200, middle + 2}, SystemColours::kButtonHighlight), 200);
    EXPECT_EQ(canvas.Count({L, T, L + 200, middle}, Canvas::kUntouched), 200 * 4);
}

class MainWindowMenuTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    HMENU Bar() const { return ::GetMenu(dlg.m_hWnd); }
    const IconMenuItem& RecordOf(UINT command) const
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ::GetMenuItemInfoW(Bar(), command, FALSE, &info);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << command;
        return *reinterpret_cast<const IconMenuItem*>(info.dwItemData);
    }
};

TEST_F(MainWindowMenuTest, TheWindowOwnsTheBarAndElevenCommandsHaveIcons)
{
    RunModal(dlg, [&] {
        ASSERT_NE(Bar(), nullptr);
        EXPECT_EQ(dlg.Menu().GetSafeHmenu(), nullptr);
        ASSERT_EQ(::GetMenuItemCount(Bar()), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(CIconMenu::IsIconMenu(::GetSubMenu(Bar(), i))) << i;
        const std::pair<UINT, int> icons[] = {
            {ID_FILE_OPEN, IDB_MENU_OPEN},
            {ID_FILE_SAVE, IDB_MENU_SAVE},
            {ID_SEND, IDB_MENU_SEND},
            {ID_FACTORY, IDB_MENU_FACTORY},
            {ID_SELECT_PRINTER, IDB_MENU_PRINTER},
            {ID_FILE_EXIT, -1},
            {ID_PAGE_SELECT, IDB_MENU_SELECT},
            {ID_PAGE_PARAM, IDB_MENU_PARAM},
            {ID_PAGE_MSW1, IDB_MENU_MSW},
            {ID_PAGE_MSW2, IDB_MENU_MSW},
            {ID_PAGE_MSW3, IDB_MENU_MSW},
            {ID_PAGE_MSW4, IDB_MENU_MSW},
            {ID_HELP_CONTENTS, -1},
            {ID_APP_ABOUT, -1},
        };
        for (const auto& [command, bitmap] : icons) {
            const IconMenuItem& record = RecordOf(command);
            EXPECT_EQ(record.bitmapId, bitmap) << command;
            EXPECT_EQ(record.imageIndex, bitmap < 0 ? -1 : 0) << command;
        }
        // The window's own graying works on the owner-drawn items.
        dlg.EnableSendCommand(false);
        EXPECT_TRUE(::GetMenuState(Bar(), ID_SEND, MF_BYCOMMAND) & MF_GRAYED);
        dlg.EnableSendCommand(true);
        EXPECT_FALSE(::GetMenuState(Bar(), ID_SEND, MF_BYCOMMAND) & MF_GRAYED);
    });
}

TEST_F(MainWindowMenuTest, TheWindowPassesMenuRequestsToTheIconMenu)
{
    RunModal(dlg, [&] {
        const HMENU file = ::GetSubMenu(Bar(), 0);
        EXPECT_EQ(dlg.SendMessage(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(file)),
                  (2 << 16) | 0);
        EXPECT_EQ(dlg.SendMessage(WM_MENUCHAR, MAKEWPARAM('w', MF_POPUP), reinterpret_cast<LPARAM>(file)),
                  (2 << 16) | 3);
        EXPECT_EQ(dlg.SendMessage(WM_MENUCHAR, MAKEWPARAM('q', MF_POPUP), reinterpret_cast<LPARAM>(file)), 0);

        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = ID_FILE_OPEN;
        measure.itemData = reinterpret_cast<ULONG_PTR>(&RecordOf(ID_FILE_OPEN));
        EXPECT_TRUE(dlg.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
        EXPECT_EQ(measure.itemHeight, static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), 19)));
        EXPECT_GT(measure.itemWidth, 33u);

        Canvas canvas;
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = ID_FILE_OPEN;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = reinterpret_cast<HWND>(file);
        draw.hDC = canvas.dc();
        draw.rcItem = {0, 0, 200, 19};
        draw.itemData = measure.itemData;
        EXPECT_TRUE(dlg.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
        EXPECT_EQ(canvas.Count({0, 0, 200, 19}, Canvas::kUntouched), 0);
        EXPECT_GT(canvas.Count({25, 0, 200, 19}, ::GetSysColor(COLOR_MENUTEXT)), 20);
    });
}

}  // namespace
