#include "ResourceData.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Gdi.h"

namespace {
const wchar_t* const kToolbarType = MAKEINTRESOURCEW(241);
}  // namespace

const BYTE* FindResourceBytes(const wchar_t* name, const wchar_t* type, std::size_t& size)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    size = data ? ::SizeofResource(module, found) : 0;
    return data;
}

bool ResourceReader::Skip(std::size_t n)
{
    if (n > size_ - pos_)
        return false;
    pos_ += n;
    return true;
}

bool ResourceReader::Word(WORD& value)
{
    if (sizeof value > size_ - pos_)
        return false;
    std::memcpy(&value, data_ + pos_, sizeof value);
    pos_ += sizeof value;
    return true;
}

bool ResourceReader::Text(std::wstring& text)
{
    text.clear();
    for (WORD ch = 0;;) {
        if (!Word(ch))
            return false;
        if (ch == 0)
            return true;
        text.push_back(static_cast<wchar_t>(ch));
    }
}

std::optional<int> ToolbarImageIndex(int toolbarId, UINT commandId)
{
    // Version, width, height, count, then the button ids (0 for a
    // separator, which takes no image).
    std::size_t size = 0;
    const BYTE* data = FindResourceBytes(MAKEINTRESOURCEW(toolbarId), kToolbarType, size);
    if (!data)
        return std::nullopt;
    ResourceReader reader(data, size);
    WORD version = 0, width = 0, height = 0, count = 0;
    if (!reader.Word(version) || !reader.Word(width) || !reader.Word(height) || !reader.Word(count))
        return std::nullopt;
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        WORD button = 0;
        if (!reader.Word(button))
            return std::nullopt;
        if (button == 0)
            continue;
        if (button == commandId)
            return image;
        ++image;
    }
    return std::nullopt;
}

UniqueBitmap LoadSysColourBitmap(int bitmapId)
{
    std::size_t size = 0;
    const BYTE* data = FindResourceBytes(MAKEINTRESOURCEW(bitmapId), RT_BITMAP, size);
    BITMAPINFOHEADER header{};
    if (!data || size < sizeof header)
        return {};
    std::memcpy(&header, data, sizeof header);
    if (header.biSize < sizeof header || header.biBitCount == 0 || header.biWidth <= 0)
        return {};
    const std::size_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof header ? 12 : 0;
    const std::size_t colours = header.biClrUsed         ? header.biClrUsed
                                : header.biBitCount <= 8 ? std::size_t{1} << header.biBitCount
                                                         : 0;
    const std::size_t infoSize = header.biSize + masks + colours * sizeof(RGBQUAD);
    if (colours > 256 || infoSize > size)
        return {};
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
        const std::size_t stride =
            (static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
        const std::size_t rows =
            static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
        if (stride * rows > size - infoSize)
            return {};
    }

    // A copy of the header and colour table, recoloured.
    std::vector<BYTE> info(data, data + infoSize);
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + header.biSize + masks);
    const struct {
        COLORREF from;
        int sysColour;
    } remap[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
                 {RGB(128, 128, 128), COLOR_BTNSHADOW},
                 {RGB(192, 192, 192), COLOR_BTNFACE},
                 {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    for (std::size_t i = 0; i < std::min<std::size_t>(colours, 16); ++i) {
        RGBQUAD& entry = table[i];
        const COLORREF colour = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
        for (const auto& r : remap) {
            if (colour != r.from)
                continue;
            const COLORREF now = ::GetSysColor(r.sysColour);
            entry = {GetBValue(now), GetGValue(now), GetRValue(now), 0};
            break;
        }
    }

    const WindowDc screen(nullptr);
    return UniqueBitmap(::CreateDIBitmap(screen.get(), reinterpret_cast<const BITMAPINFOHEADER*>(info.data()),
                                         CBM_INIT, data + infoSize,
                                         reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS));
}
