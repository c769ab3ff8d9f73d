// Dots per inch of windows, and sizes and fonts scaled to them. The
// per-monitor functions of Windows 10 are looked up at run time: without
// them (Windows 7, 8) every window has the screen's DPI and sizes are scaled
// from the system's.
#pragma once

#include <span>

#include "Handles.h"

constexpr UINT kDefaultDpi = 96;

// The DPI the system's own metrics and fonts are made for.
UINT SystemDpi();
// The DPI of a window; the screen's for none.
UINT WindowDpi(HWND hwnd);
inline int ScaleForDpi(int value, UINT dpi) { return ::MulDiv(value, static_cast<int>(dpi), kDefaultDpi); }
// A GetSystemMetrics value at a DPI.
int SystemMetricForDpi(int index, UINT dpi);
// The system's menu font at a DPI (the default GUI font when it cannot be read).
UniqueFont MenuFontForDpi(UINT dpi);
// Of pixel art drawn at `sizes` (ascending), the size for a DPI: the largest
// that is not larger than `base` pixels scaled to it, or the smallest.
// Art is never stretched up, so 120 DPI keeps the 16-pixel art.
int PickArtSize(UINT dpi, std::span<const int> sizes, int base = 16);

// Test seam: behave as on a system without the per-monitor functions.
void UsePerMonitorDpiFunctions(bool use);
