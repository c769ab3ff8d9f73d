#include "IconMenu.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "PanelArt.h"
#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/ResourceData.h"
#include "framework/Seams.h"
#include "framework/Text.h"

namespace {

std::vector<HMENU> g_iconPopupHandles;

// Menus belong to the panel's window; any of its contexts has the same
// metrics as the screen.
HWND MainWindow() { return ::GetActiveWindow(); }

bool NewShell() { return qv::IsNewShell(CurrentPlatform()); }

// ASCII letters only: a byte after a lead byte is part of a double-byte
// character and keeps its value.
std::string LowerCp932(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (::IsDBCSLeadByteEx(932, byte))
            ++i;
        else if (byte >= 'A' && byte <= 'Z')
            text[i] = static_cast<char>(byte - 'A' + 'a');
    }
    return text;
}

// The menu's own data names the object that holds it.
void SetMenuObject(HMENU menu, CIconMenu* object)
{
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(object);
    ::SetMenuInfo(menu, &info);
}

}  // namespace

CIconMenu::~CIconMenu() { DestroyMenu(); }

bool CIconMenu::Attach(HMENU menu)
{
    if (!menu || m_hMenu)
        return false;
    m_hMenu = menu;
    SetMenuObject(menu, this);
    return true;
}

HMENU CIconMenu::Detach()
{
    if (m_hMenu && FromHandle(m_hMenu) == this)
        SetMenuObject(m_hMenu, nullptr);
    return std::exchange(m_hMenu, nullptr);
}

CIconMenu* CIconMenu::FromHandle(HMENU menu)
{
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    if (!menu || !::GetMenuInfo(menu, &info))
        return nullptr;
    return reinterpret_cast<CIconMenu*>(info.dwMenuData);
}

const std::vector<HMENU>& CIconMenu::IconPopupHandles() { return g_iconPopupHandles; }

bool CIconMenu::IsIconMenu(HMENU menu)
{
    return menu &&
           std::find(g_iconPopupHandles.begin(), g_iconPopupHandles.end(), menu) != g_iconPopupHandles.end();
}

bool CIconMenu::LoadMenu(const wchar_t* resourceName)
{
    std::size_t size = 0;
    const BYTE* data = FindResourceBytes(resourceName, RT_MENU, size);
    if (!data)
        return false;
    DestroyMenu();
    if (!Attach(::CreateMenu()))
        return false;

    // Standard menu template: version, header size, then the items.
    ResourceReader reader(data, size);
    WORD version = 0, headerSize = 0;
    if (!reader.Word(version) || !reader.Word(headerSize) || version != 0 || !reader.Skip(headerSize))
        return false;

    struct Level {
        CIconMenu* menu;
        bool ends;  // its last item has been read
    };
    std::vector<Level> stack{{this, false}};
    while (!stack.empty()) {
        WORD flags = 0, id = 0;
        std::wstring text;
        if (!reader.Word(flags) || (!(flags & MF_POPUP) && !reader.Word(id)) || !reader.Text(text))
            return false;
        const UINT itemFlags = flags & ~static_cast<UINT>(MF_END);
        if (flags & MF_POPUP) {
            if (flags & MF_END)
                stack.back().ends = true;
            auto popup = std::make_unique<CIconMenu>();
            popup->metrics_ = stack.back().menu->metrics_;
            if (!popup->Attach(::CreatePopupMenu()))
                return false;
            CIconMenu* parent = stack.back().menu;
            const HMENU handle = popup->m_hMenu;
            parent->subMenus.push_back(std::move(popup));
            parent->AppendItem(text, itemFlags, reinterpret_cast<UINT_PTR>(handle), -1);
            stack.push_back({parent->subMenus.back().get(), false});
            continue;
        }
        stack.back().menu->AppendItem(text, itemFlags, id, -1);
        if (flags & MF_END)
            stack.back().ends = true;
        while (!stack.empty() && stack.back().ends) {
            stack.back().menu->AlignAccelerators();
            stack.pop_back();
        }
    }

    // The bar stays a plain text bar; only the popups are drawn here.
    for (std::size_t i = 0; i < items.size(); ++i) {
        IconMenuItem& item = *items[i];
        item.flags = MF_BYPOSITION | MF_STRING | (item.flags & MF_POPUP);
        ::ModifyMenuW(m_hMenu, static_cast<UINT>(i), item.flags, item.commandId, item.text.c_str());
    }
    return true;
}

void CIconMenu::AppendItem(const std::wstring& text, UINT flags, UINT_PTR commandId, int bitmapId)
{
    if (commandId == 0)
        flags = (flags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        flags |= MF_OWNERDRAW;
    if (flags & MF_POPUP)
        g_iconPopupHandles.push_back(reinterpret_cast<HMENU>(commandId));

    auto item = std::make_unique<IconMenuItem>();
    item->text = text;
    item->bitmapId = bitmapId;
    item->flags = flags;
    item->commandId = commandId;
    LoadItemIcon(*item, static_cast<UINT>(commandId));
    ::AppendMenuW(m_hMenu, flags, commandId, reinterpret_cast<const wchar_t*>(item.get()));
    items.push_back(std::move(item));
}

bool CIconMenu::FindCommand(UINT commandId, CIconMenu*& holder, std::size_t& position)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const IconMenuItem& item = *items[i];
        if (item.flags & MF_POPUP) {
            CIconMenu* popup = FromHandle(reinterpret_cast<HMENU>(item.commandId));
            if (popup && popup->FindCommand(commandId, holder, position))
                return true;
        } else if (item.commandId == commandId) {
            holder = this;
            position = i;
            return true;
        }
    }
    return false;
}

void CIconMenu::SetItemIcon(const char* text, UINT commandId, int bitmapId)
{
    CIconMenu* holder = nullptr;
    std::size_t position = 0;
    IconMenuItem* item = nullptr;
    if (FindCommand(commandId, holder, position)) {
        item = holder->items[position].get();
    } else {
        items.push_back(std::make_unique<IconMenuItem>());
        item = items.back().get();
    }
    if (text)
        item->text = FromCp932(text);
    item->bitmapId = bitmapId;
    LoadItemIcon(*item, commandId);
    item->flags = MF_OWNERDRAW;
    item->commandId = commandId;
    // Changing the item also makes it enabled and unchecked again.
    ::ModifyMenuW(m_hMenu, commandId, MF_BYCOMMAND | MF_OWNERDRAW, commandId,
                  reinterpret_cast<const wchar_t*>(item));
}

void CIconMenu::LoadItemIcon(IconMenuItem& item, UINT commandId) const
{
    item.imageIndex = -1;
    if (item.bitmapId < 0)
        return;
    // A toolbar resource of the same id places the command's image in the
    // strip; without one the first image is taken.
    item.imageIndex = ToolbarImageIndex(item.bitmapId, commandId).value_or(0);
    item.imageList = CreateArtImages(item.bitmapId, metrics_.IconWidth(), metrics_.IconHeight());
    if (!item.imageList) {
        item.bitmapId = -1;
        item.imageIndex = -1;
    }
}

bool CIconMenu::GetItemText(int position, std::string& text) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= items.size())
        return false;
    text = ToCp932(items[static_cast<std::size_t>(position)]->text);
    return true;
}

void CIconMenu::AlignAccelerators()
{
    const WindowDc dc(MainWindow());
    const UniqueFont font = MenuFontForDpi(Dpi());
    const SelectedObject selected(dc.get(), font.get());
    const auto width = [&](const std::string& cp932) { return TextSize(dc.get(), FromCp932(cp932)).cx; };

    LONG target = 0;
    for (const auto& item : items) {
        const std::string text = ToCp932(item->text);
        target = std::max(target, width(text.substr(0, text.find('\t')) + ' '));
    }
    for (const auto& item : items) {
        const std::string text = ToCp932(item->text);
        const std::size_t tab = text.find('\t');
        if (tab == std::string::npos)
            continue;
        std::string left = text.substr(0, tab);
        // Stops too if a space adds no width, which would never reach the target.
        for (LONG previous = -1, now = 0;;) {
            left += ' ';
            now = width(left);
            if (now >= target || now <= previous)
                break;
            previous = now;
        }
        item->text = FromCp932(left + text.substr(tab));
    }
}

void CIconMenu::SetDpi(UINT dpi)
{
    metrics_ = CIconMenuMetrics(dpi);
    for (const auto& item : items) {
        if (item->bitmapId >= 0)
            LoadItemIcon(*item, static_cast<UINT>(item->commandId));
        // The padding was measured in another font: take it off, then align anew.
        const std::size_t tab = item->text.find(L'\t');
        if (tab != std::wstring::npos) {
            std::size_t end = tab;
            while (end > 0 && item->text[end - 1] == L' ')
                --end;
            item->text.erase(end, tab - end);
        }
    }
    AlignAccelerators();
    for (const auto& popup : subMenus)
        popup->SetDpi(dpi);

    // The system keeps an item's measured size until the item changes.
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        if (::GetMenuItemInfoW(m_hMenu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_OWNERDRAW))
            ::SetMenuItemInfoW(m_hMenu, static_cast<UINT>(i), TRUE, &info);
    }
}

void CIconMenu::MeasureItem(MEASUREITEMSTRUCT& request) const
{
    const auto* item = reinterpret_cast<const IconMenuItem*>(request.itemData);
    if (!item)
        return;
    if (item->flags & MF_SEPARATOR) {
        request.itemWidth = 0;
        request.itemHeight = static_cast<UINT>(metrics_.SeparatorHeight());
        return;
    }
    const WindowDc dc(MainWindow());
    UniqueFont font;
    std::optional<SelectedObject> selected;
    if (NewShell()) {
        font = MenuFontForDpi(Dpi());
        selected.emplace(dc.get(), font.get());
    }
    const SIZE size = TextSize(dc.get(), item->text);
    request.itemWidth = static_cast<UINT>(metrics_.ItemWidth(size.cx));
    request.itemHeight = static_cast<UINT>(metrics_.ItemHeight());
}

void CIconMenu::DrawItem(const DRAWITEMSTRUCT& request) const
{
    const auto* item = reinterpret_cast<const IconMenuItem*>(request.itemData);
    if (!item)
        return;
    const HDC dc = request.hDC;
    RECT r = request.rcItem;
    if (item->flags & MF_SEPARATOR) {
        r.top += (r.bottom - r.top) / 2;
        ::DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool hasIcon = item->bitmapId != -1;
    const bool selected = (request.itemState & ODS_SELECTED) != 0;
    const bool grayed = (request.itemState & ODS_GRAYED) != 0;

    COLORREF textColour = 0;
    if (selected) {
        RECT bar = r;
        if (hasIcon)
            bar.left = metrics_.HighlightLeft(r);
        FillSolid(dc, bar, ::GetSysColor(COLOR_HIGHLIGHT));
        textColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        FillSolid(dc, r, ::GetSysColor(COLOR_MENU));
        textColour = ::GetSysColor(COLOR_MENUTEXT);
    }
    if (hasIcon)
        DrawItemIcon(dc, r, *item, selected, grayed);
    if (!item->text.empty())
        DrawItemText(dc, r, item->text, selected, grayed, textColour);
}

void CIconMenu::DrawItemIcon(HDC dc, const RECT& r, const IconMenuItem& item, bool selected,
                             bool grayed) const
{
    if (!item.imageList)
        return;
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const RECT outer = metrics_.IconFrame(r);
    const RECT inner{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    const POINT origin = metrics_.IconOrigin(r);
    FrameSolid(dc, inner, menu);  // erases an earlier frame

    if (grayed) {
        const UniqueBitmap image = IconToBitmap(dc, item);
        FrameSolid(dc, outer, menu);
        if (image)
            DrawEmbossed(dc, origin.x, origin.y, metrics_.IconWidth(), metrics_.IconHeight(), image.get(),
                         ::GetSysColor(NewShell() ? COLOR_3DFACE : COLOR_MENU));
        return;
    }
    FillSolid(dc, inner, menu);
    if (!selected)
        FrameSolid(dc, outer, menu);
    else if (NewShell())
        Frame3d(dc, outer, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    ::ImageList_Draw(item.imageList.get(), item.imageIndex, dc, origin.x, origin.y, ILD_TRANSPARENT);
}

void CIconMenu::DrawItemText(HDC dc, const RECT& r, const std::wstring& text, bool selected, bool grayed,
                             COLORREF textColour) const
{
    const std::size_t tab = text.find(L'\t');
    const RECT bounds = metrics_.TextBounds(r, tab != std::wstring::npos);
    const std::wstring left = text.substr(0, tab);
    const std::wstring right = tab != std::wstring::npos ? text.substr(text.rfind(L'\t') + 1) : L"";

    const UniqueFont font = MenuFontForDpi(Dpi());
    const SelectedObject selectedFont(dc, font.get());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::GetTextColor(dc);
    const auto draw = [&](RECT rc, COLORREF colour) {
        ::SetTextColor(dc, colour);
        ::DrawTextW(dc, left.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!right.empty())
            ::DrawTextW(dc, right.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    if (!grayed) {
        draw(bounds, textColour);
    } else if (selected) {
        draw(bounds, ::GetSysColor(COLOR_MENU));
    } else {
        RECT shadow = bounds;
        ::OffsetRect(&shadow, metrics_.ShadowOffset(), metrics_.ShadowOffset());
        draw(shadow, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        draw(bounds, ::GetSysColor(COLOR_GRAYTEXT));
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

UniqueBitmap CIconMenu::IconToBitmap(HDC target, const IconMenuItem& item) const
{
    const UniqueIcon icon(::ImageList_GetIcon(item.imageList.get(), item.imageIndex, ILD_NORMAL));
    const int width = metrics_.IconWidth(), height = metrics_.IconHeight();
    UniqueBitmap bitmap(::CreateCompatibleBitmap(target, width, height));
    const UniqueMemoryDc mem(::CreateCompatibleDC(target));
    if (!icon || !bitmap || !mem)
        return {};
    const SelectedObject selected(mem.get(), bitmap.get());
    const UniqueBrush background(::CreateSolidBrush(::GetSysColor(COLOR_MENU)));
    ::DrawIconEx(mem.get(), 0, 0, icon.get(), width, height, 0, background.get(), DI_NORMAL);
    return bitmap;
}

LRESULT CIconMenu::FindMnemonic(UINT character, UINT flags, HMENU menu)
{
    const CIconMenu* object = FromHandle(menu);
    if (!object || !(flags & MF_POPUP))
        return 0;
    // The key in code page 932; a character it cannot hold matches nothing.
    const std::wstring typed(1, static_cast<wchar_t>(LOWORD(character)));
    const std::string bytes = ToCp932(typed);
    if (bytes.empty() || FromCp932(bytes) != typed)
        return 0;
    const std::string key = LowerCp932("&" + bytes);

    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (object->GetItemText(i, text) && LowerCp932(text).find(key) != std::string::npos)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

void CIconMenu::DestroyMenu()
{
    const auto forget = [](HMENU handle) { std::erase(g_iconPopupHandles, handle); };
    forget(m_hMenu);
    while (!subMenus.empty()) {
        forget(subMenus.back()->m_hMenu);
        subMenus.pop_back();  // destroys that popup's own popups in turn
    }
    items.clear();
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
    Detach();
}
