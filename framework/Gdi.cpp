#include "Gdi.h"

namespace {
constexpr DWORD kRopDSPDxax = 0xE20746;  // paints the brush where the mask is black
}  // namespace

UniqueFont MenuFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMenuFont, &metrics.lfMenuFont);
    return UniqueFont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

SIZE TextSize(HDC dc, const std::wstring& text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void FillSolid(HDC dc, const RECT& rc, COLORREF colour)
{
    const UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rc, brush.get());
}

void Frame3d(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, {rc.left, rc.top, rc.right - 1, rc.top + 1}, topLeft);
    FillSolid(dc, {rc.left, rc.top, rc.left + 1, rc.bottom - 1}, topLeft);
    FillSolid(dc, {rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
    FillSolid(dc, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
}

void DrawEmbossed(HDC target, int x, int y, int w, int h, HBITMAP source, COLORREF face)
{
    const UniqueMemoryDc maskDc(::CreateCompatibleDC(target));
    const UniqueMemoryDc sourceDc(::CreateCompatibleDC(target));
    const UniqueBitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
    if (!maskDc || !sourceDc || !mask)
        return;
    const SelectedObject maskSelected(maskDc.get(), mask.get());
    const SelectedObject sourceSelected(sourceDc.get(), source);
    const HDC m = maskDc.get();
    const HDC s = sourceDc.get();

    // Mask: white where the source shows face or highlight, black on the shape.
    ::PatBlt(m, 0, 0, w, h, WHITENESS);
    ::SetBkColor(s, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(m, 0, 0, w, h, s, 0, 0, SRCCOPY);
    ::SetBkColor(s, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(m, 0, 0, w, h, s, 0, 0, SRCPAINT);

    FillSolid(s, {0, 0, w, h}, face);
    ::SetBkColor(s, RGB(0, 0, 0));
    ::SetTextColor(s, RGB(255, 255, 255));
    const UniqueBrush highlight(::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    const UniqueBrush shadow(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
    {
        const SelectedObject brush(s, highlight.get());
        ::BitBlt(s, 0, 0, w, h, m, 0, 0, kRopDSPDxax);
        ::BitBlt(target, x + 1, y + 1, w, h, s, 0, 0, SRCCOPY);
        ::BitBlt(s, 1, 1, w, h, m, 0, 0, kRopDSPDxax);
    }
    {
        const SelectedObject brush(s, shadow.get());
        ::BitBlt(s, 0, 0, w, h, m, 0, 0, kRopDSPDxax);
    }
    ::BitBlt(target, x, y, w, h, s, 0, 0, SRCCOPY);
}
