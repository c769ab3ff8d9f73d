// Where the parts of an icon menu item go at one DPI: the icon column, the
// frame around an icon, the text and the accelerator. Lengths grow with the
// DPI; lines stay one pixel. At 96 DPI this is the classic layout: 16 x 15
// icons, items at least 19 pixels high, text 25 pixels from the left.
#pragma once

#include <windows.h>

class CIconMenuMetrics {
public:
    explicit CIconMenuMetrics(UINT dpi = 96);

    UINT Dpi() const { return dpi_; }
    int ArtSize() const { return artSize_; }
    int IconWidth() const { return artSize_; }
    // The art's bottom row stays unseen.
    int IconHeight() const { return artSize_ - 1; }
    // The system's menu bar height at this DPI.
    int BarHeight() const { return barHeight_; }

    int SeparatorHeight() const { return barHeight_ / 2; }
    int ItemHeight() const;
    int ItemWidth(int textWidth) const;

    // The frame drawn around an icon in an item.
    RECT IconFrame(const RECT& item) const;
    POINT IconOrigin(const RECT& item) const;
    // Where the highlight bar of a selected item with an icon starts.
    int HighlightLeft(const RECT& item) const;
    // The rectangle the text is drawn in; with an accelerator, its right
    // part stops short of the item's right edge.
    RECT TextBounds(const RECT& item, bool hasAccelerator) const;
    // Offset of the highlight-coloured shadow of grayed text.
    int ShadowOffset() const;

private:
    int Scaled(int value) const;
    int Column() const;  // width kept for icons: at least 16 pixels scaled

    UINT dpi_;
    int artSize_;
    int pad_;  // between the icon and its frame's outer edge
    int barHeight_;
};
