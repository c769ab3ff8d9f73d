#include "PanelToolBar.h"

#include <commctrl.h>

#include <iterator>

#include "PanelArt.h"
#include "framework/Dpi.h"
#include "framework/Text.h"
#include "resource.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;
constexpr std::size_t kTooltipBytes = 79;  // the request's buffer holds 80 characters
// The images of the toolbar strip, left to right.
enum Image { kOpenImage, kSaveImage, kSendImage, kFactoryImage, kPrinterImage, kHistoryImage };
}  // namespace

bool CPanelToolBar::Create(HWND parent, UINT id, UINT bitmapId)
{
    m_hWnd = ::CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS | CCS_ADJUSTABLE | CCS_TOP, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    ::SetWindowSubclass(m_hWnd, SubclassProc, kSubclassId, 0);
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    bitmapId_ = bitmapId;
    SetDpi(WindowDpi(parent));

    const TBBUTTON buttons[] = {
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {kOpenImage, ID_TB_OPEN, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {kSaveImage, ID_TB_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {kSendImage, ID_TB_SEND, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {kHistoryImage, ID_TB_HISTORY, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {kFactoryImage, ID_TB_FACTORY, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {kPrinterImage, ID_TB_PRINTER, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    };
    SendMessage(TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessage(TB_AUTOSIZE);
    return true;
}

void CPanelToolBar::SetDpi(UINT dpi)
{
    dpi_ = dpi;
    const int size = ArtSizeForDpi(dpi);
    // The bar holds on to the list: the old one goes only after the new one is in.
    UniqueImageList images = CreateArtImages(static_cast<int>(bitmapId_), size, size);
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    images_ = std::move(images);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    // Around the image as at 96 DPI: 7 pixels across, 6 down, scaled.
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size + ScaleForDpi(7, dpi), size + ScaleForDpi(6, dpi)));
    SendMessage(TB_AUTOSIZE);
}

void CPanelToolBar::EnableButton(UINT id, bool enable) const
{
    SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0));
}

bool CPanelToolBar::IsButtonEnabled(UINT id) const { return SendMessage(TB_ISBUTTONENABLED, id) != 0; }

std::wstring CPanelToolBar::TooltipText(UINT id) { return CutToCp932Bytes(LoadResString(id), kTooltipBytes); }

LRESULT CALLBACK CPanelToolBar::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR)
{
    // The tooltip asks its owner, the toolbar, first; answer before the
    // parent ever sees the request.
    if (msg == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const UINT id = static_cast<UINT>(info->hdr.idFrom);
        if (info->hdr.code == TTN_GETDISPINFOW && id >= ID_TB_OPEN && id <= ID_TB_HISTORY) {
            const std::wstring text = TooltipText(id);
            const std::size_t n = std::min(text.size(), std::size(info->szText) - 1);
            text.copy(info->szText, n);
            info->szText[n] = L'\0';
            info->lpszText = info->szText;
            info->hinst = nullptr;
            return 0;
        }
    }
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}
