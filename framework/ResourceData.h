// Reading this program's own resources byte by byte: menu and toolbar
// templates, and button bitmaps recoloured for the current system colours.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "Handles.h"

// The bytes of a resource of this program, or null.
const BYTE* FindResourceBytes(const wchar_t* name, const wchar_t* type, std::size_t& size);

// Bounds-checked reading of a resource's bytes.
class ResourceReader {
public:
    ResourceReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
    bool Skip(std::size_t n);
    bool Word(WORD& value);
    // A zero-terminated UTF-16 text.
    bool Text(std::wstring& text);

private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The image index of a command in a toolbar resource (type 241), counting
// buttons only; nothing when the resource or the command is missing.
std::optional<int> ToolbarImageIndex(int toolbarId, UINT commandId);

// A bitmap resource with the standard button colours (black, dark grey,
// light grey, white) of its colour table replaced by the system colours;
// null when the resource is missing or malformed.
UniqueBitmap LoadSysColourBitmap(int bitmapId);
