// The fixed entry lists of the pages' drop-down lists (UTF-8). The
// conversions compare page texts with these, and the pages fill their
// lists from them.
#pragma once

#include <array>
#include <string_view>

namespace qv {

inline constexpr std::array<std::string_view, 5> kCountryNames = {"日本", "アメリカ", "イギリス", "ドイツ",
                                                                  "スウェーデン"};
// Value of the country bits n for each entry of kCountryNames.
inline constexpr std::array<int, 5> kCountryCodes = {0, 2, 3, 4, 5};

inline constexpr std::array<std::string_view, 5> kFontNames = {"標準", "イタリック", "クーリエ", "ゴシック",
                                                               "OCR-B"};
inline constexpr std::array<std::string_view, 3> kKanjiCodeTables = {"JIS1978年版", "JIS1983年版",
                                                                     "JIS1990年版"};
inline constexpr std::array<std::string_view, 8> kAgaRetryTimes = {"０秒",     "５秒",     "１０秒",
                                                                   "６０秒",   "１８０秒", "３００秒",
                                                                   "８１０秒", "再実行なし"};
inline constexpr std::array<std::string_view, 3> kAutoReturnTimes = {"自動戻り無し", "８秒", "１５秒"};
// LF pitch correction, -5 to +5.
inline constexpr std::array<std::string_view, 11> kLfPitchTexts = {"-5", "-4", "-3", "-2", "-1", "0",
                                                                   "+1", "+2", "+3", "+4", "+5"};

inline constexpr std::array<std::string_view, 25> kAutoPositionTexts = {
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12",
    "13", "14", "15", "16", "17", "18", "19", "20", "21", "22", "23", "24"};
inline constexpr std::array<std::string_view, 13> kPaperThicknessTexts = {
    "オート", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
// Print pressure, -6 to +3.
inline constexpr std::array<std::string_view, 10> kPrintPressureTexts = {"-6", "-5", "-4", "-3", "-2",
                                                                         "-1", "0",  "+1", "+2", "+3"};
inline constexpr std::array<std::string_view, 7> kPrintPositionTexts = {"-1.3", "-0.8", "-0.4", "0",
                                                                        "+0.4", "+0.8", "+1.3"};
// The S2 codes written for each entry of kPrintPositionTexts.
inline constexpr std::array<std::string_view, 7> kPrintPositionCodes = {"FD", "FE", "FF", "00",
                                                                        "01", "02", "03"};
inline constexpr std::array<std::string_view, 3> kReductionTexts = {"縮小なし", "２／３縮小", "４／５縮小"};
inline constexpr std::array<char, 3> kReductionCodes = {'0', '1', '5'};
inline constexpr std::array<std::string_view, 3> kCopyPowerTexts = {"標準", "厚紙", "複写"};
inline constexpr std::array<std::string_view, 5> kFormNames = {"書式０", "書式１", "書式２", "書式３",
                                                               "書式４"};

// Position of text in list, or -1.
template <std::size_t N>
constexpr int IndexOf(const std::array<std::string_view, N>& list, std::string_view text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (list[i] == text)
            return static_cast<int>(i);
    return -1;
}

}  // namespace qv
