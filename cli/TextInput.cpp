#include "TextInput.h"

#include <cstdio>

#include "Utf8.h"
#include "core/Utf8.h"

namespace qv::cli {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kSaveAsUtf8 =
    "UTF-8 で保存し直してください（Windows PowerShell 5.1: Set-Content -Encoding UTF8、PowerShell 7: "
    "Set-Content、メモ帳: 「名前を付けて保存」で文字コード UTF-8）。";

std::string ByteAt(std::string_view bytes, std::size_t at)
{
    char text[48];
    std::snprintf(text, sizeof text, "%zu バイト目が 0x%02X", at + 1, static_cast<unsigned char>(bytes[at]));
    return text;
}

std::optional<std::string> FromUtf16(std::string_view bytes, bool bigEndian, std::string& problem)
{
    if (bytes.size() % 2 != 0) {
        problem = "UTF-16 の印（BOM）があるのにバイト数が奇数です。" + std::string(kSaveAsUtf8);
        return std::nullopt;
    }
    auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]),
                   second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 2 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            problem = "UTF-16 として読めません（" + std::to_string(i + 3) +
                      " バイト目に対のないサロゲート）。" + std::string(kSaveAsUtf8);
            return std::nullopt;
        }
        AppendUtf8(text, cp);
    }
    return text;
}

}  // namespace

std::optional<std::string> DecodeTextInput(std::string_view bytes, std::string& problem)
{
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        problem = "UTF-32 で保存されています。" + std::string(kSaveAsUtf8);
        return std::nullopt;
    }
    if (bytes.starts_with("\xFF\xFE"))
        return FromUtf16(bytes.substr(2), false, problem);
    if (bytes.starts_with("\xFE\xFF"))
        return FromUtf16(bytes.substr(2), true, problem);
    const std::size_t start = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    const std::string_view text = bytes.substr(start);
    if (const std::size_t valid = ValidUtf8Length(text); valid < text.size()) {
        problem = "UTF-8 として読めません（" + ByteAt(bytes, start + valid) +
                  "）。Shift_JIS（コード ページ 932）など別の文字コードで保存されたようです。" +
                  std::string(kSaveAsUtf8);
        return std::nullopt;
    }
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        problem = "NUL 文字があります（" + ByteAt(bytes, start + nul) +
                  "）。印（BOM）のない UTF-16 かもしれません。" + std::string(kSaveAsUtf8);
        return std::nullopt;
    }
    return std::string(text);
}

}  // namespace qv::cli
