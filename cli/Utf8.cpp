#include "Utf8.h"

#include <cstdio>
#include <vector>

#include "core/Utf8.h"

namespace qv::cli {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at text[at] and its length in bytes; length 0
// when the bytes there are no UTF-8.
struct Sequence {
    char32_t cp;
    std::size_t length;
};

Sequence DecodeAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    char32_t cp = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool ok = length > 0 && at + length <= text.size();
    for (std::size_t k = 1; ok && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        ok = (next & 0xC0) == 0x80;
        cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    ok = ok && cp >= kMin[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    return ok ? Sequence{cp, length} : Sequence{kReplacement, 0};
}

// The code points of a UTF-8 text; a bad sequence gives one U+FFFD per byte.
std::vector<char32_t> Decode(std::string_view text)
{
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const Sequence s = DecodeAt(text, i);
        points.push_back(s.cp);
        i += s.length ? s.length : 1;
    }
    return points;
}

bool IsWide(char32_t cp)
{
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF && cp != 0x303F) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

}  // namespace

std::wstring FromUtf8(std::string_view text)
{
    std::wstring wide;
    for (const char32_t cp : Decode(text)) {
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(cp);
        }
    }
    return wide;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::size_t DisplayWidth(std::string_view text)
{
    std::size_t width = 0;
    for (const char32_t cp : Decode(text))
        width += IsWide(cp) ? 2 : 1;
    return width;
}

std::size_t ValidUtf8Length(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = DecodeAt(text, i).length;
        if (length == 0)
            break;
        i += length;
    }
    return i;
}

std::string MessageText(std::string_view text, std::size_t maxBytes)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const Sequence s = DecodeAt(text, i);
        char escaped[8] = "";
        if (s.length == 0)
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
        else if (IsControl(s.cp))
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(s.cp));
        const std::string_view piece = *escaped ? std::string_view(escaped) : text.substr(i, s.length);
        if (out.size() + piece.size() > maxBytes)
            return out + "...";
        out += piece;
        i += s.length ? s.length : 1;
    }
    return out;
}

}  // namespace qv::cli
