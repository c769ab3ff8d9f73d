#include "Dpi.h"

#include "Gdi.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

bool g_usePerMonitor = true;

// Looked up once; the test seam decides at each call whether to use it.
template <class Fn> Fn User32Function(const char* name)
{
    static const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

UINT DcDpi(HWND hwnd)
{
    const WindowDc dc(hwnd);
    const int dpi = dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

void UsePerMonitorDpiFunctions(bool use) { g_usePerMonitor = use; }

UINT SystemDpi() { return DcDpi(nullptr); }

UINT WindowDpi(HWND hwnd)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = hwnd && g_usePerMonitor && getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi ? dpi : DcDpi(hwnd);
}

int SystemMetricForDpi(int index, UINT dpi)
{
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (g_usePerMonitor && forDpi)
        return forDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

UniqueFont MenuFontForDpi(UINT dpi)
{
    static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (g_usePerMonitor && forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return UniqueFont(::CreateFontIndirectW(&metrics.lfMenuFont));
    LOGFONTW font{};
    const UniqueFont system = MenuFont();
    ::GetObjectW(system.get(), sizeof font, &font);
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    font.lfWidth = ::MulDiv(font.lfWidth, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return UniqueFont(::CreateFontIndirectW(&font));
}

int PickArtSize(UINT dpi, std::span<const int> sizes, int base)
{
    if (sizes.empty())
        return base;
    const int room = ScaleForDpi(base, dpi);
    int chosen = sizes.front();
    for (const int size : sizes)
        if (size <= room)
            chosen = size;
    return chosen;
}
