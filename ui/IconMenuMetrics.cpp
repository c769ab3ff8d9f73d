#include "IconMenuMetrics.h"

#include <algorithm>

#include "PanelArt.h"
#include "framework/Dpi.h"

CIconMenuMetrics::CIconMenuMetrics(UINT dpi)
    : dpi_(dpi), artSize_(ArtSizeForDpi(dpi)), pad_(Scaled(2)), barHeight_(SystemMetricForDpi(SM_CYMENU, dpi))
{
}

int CIconMenuMetrics::Scaled(int value) const { return ScaleForDpi(value, dpi_); }

int CIconMenuMetrics::Column() const { return std::max(artSize_, Scaled(16)); }

int CIconMenuMetrics::ItemHeight() const { return std::max(barHeight_, IconHeight() + 2 * pad_); }

int CIconMenuMetrics::ItemWidth(int textWidth) const { return textWidth + 2 * Column() + 1; }

RECT CIconMenuMetrics::IconFrame(const RECT& item) const
{
    const int dy = std::max(0, static_cast<int>((item.bottom - item.top - IconHeight() - 2 * pad_) / 2));
    const int left = item.left + (Column() - IconWidth()) / 2;
    return {left, item.top + dy, left + IconWidth() + 2 * pad_, item.top + dy + IconHeight() + 2 * pad_};
}

POINT CIconMenuMetrics::IconOrigin(const RECT& item) const
{
    const RECT frame = IconFrame(item);
    return {frame.left + pad_, frame.top + pad_};
}

int CIconMenuMetrics::HighlightLeft(const RECT& item) const { return item.left + Column() + 2 * pad_ + 1; }

RECT CIconMenuMetrics::TextBounds(const RECT& item, bool hasAccelerator) const
{
    RECT bounds{item.left + Column() + 2 * pad_ + Scaled(5), item.top - 1, item.right, item.bottom - 1};
    if (hasAccelerator)
        bounds.right -= Column();
    return bounds;
}

int CIconMenuMetrics::ShadowOffset() const { return std::max(1, Scaled(1)); }
