#include "ParamConversion.h"

#include "DigitFields.h"
#include "FieldLists.h"

namespace qv {

namespace {

constexpr std::array<std::size_t, 4> kLfPitchOffsets = {off::lfPitchSheetGuide, off::lfPitchSheetFeeder,
                                                        off::lfPitchFrontTractor, off::lfPitchRearTractor};

int Chr(const SettingsBlock& b, std::size_t at) { return b[at] - '0'; }

void PutChr(SettingsBlock& b, std::size_t at, int code) { b[at] = static_cast<std::uint8_t>('0' + code); }

std::string FontText(int code)
{
    return std::string(code >= 1 && code <= 4 ? kFontNames[static_cast<std::size_t>(code)] : kFontNames[0]);
}

int FontCode(const std::string& text)
{
    const int i = IndexOf(kFontNames, text);
    return i < 0 ? 0 : i;
}

int CentringOrFallback(int value, int min, int max, int fallback)
{
    return value < min || value > max ? fallback : value;
}

}  // namespace

void LoadParamValues(SettingsBlock& b, ParamValues& v)
{
    v.font1 = FontText(Chr(b, off::font1));
    v.font2 = FontText(Chr(b, off::font2));
    const int kanji = Chr(b, off::kanjiCodeTable);
    v.kanjiCodeTable = std::string(kKanjiCodeTables[kanji == 1 || kanji == 2 ? kanji : 0]);
    v.postcardMode = Chr(b, off::postcardMode) == 1 ? 1 : 0;
    v.headCentringCutSheet =
        CentringOrFallback(ReadD2(b, off::headCentringCutSheet), kCentringMin, kCentringMax, 40);
    v.headCentringFrontTractor =
        CentringOrFallback(ReadD2(b, off::headCentringFrontTractor), kCentringMin, kCentringMax, 40);
    v.headCentringRearTractor =
        CentringOrFallback(ReadD3(b, off::headCentringRearTractor), kRearCentringMin, kRearCentringMax, 96);

    const int ret = ReadD2(b, off::autoReturnTime);
    v.autoReturnTime = std::string(kAutoReturnTimes[ret == 0 ? 0 : ret == 8 ? 1 : 2]);

    const int feed = Chr(b, off::sheetGuideFeedTime + 1);  // the tens digit is not part of the value
    v.sheetGuideFeedTime = feed >= kFeedTimeMin && feed <= kFeedTimeMax ? feed : kFeedTimeMin;

    const int aga = ReadD2(b, off::agaRetryTime);
    v.agaRetryTime = std::string(kAgaRetryTimes[aga >= 0 && aga <= 7 ? aga : 2]);

    for (std::size_t i = 0; i < kLfPitchOffsets.size(); ++i)
        if (const auto pitch = ReadS2Repaired(b, kLfPitchOffsets[i], '5', 'B'))
            v.lfPitch[i] = SignedText(*pitch);
}

void StoreParamValues(const ParamValues& v, SettingsBlock& b)
{
    PutChr(b, off::font1, FontCode(v.font1));
    PutChr(b, off::font2, FontCode(v.font2));
    const int kanji = IndexOf(kKanjiCodeTables, v.kanjiCodeTable);
    PutChr(b, off::kanjiCodeTable, kanji < 0 ? 0 : kanji);
    PutChr(b, off::postcardMode, v.postcardMode == 1 ? 1 : 0);
    // Written as held, also a value still awaiting its range correction.
    WriteD2(b, off::headCentringCutSheet, v.headCentringCutSheet);
    WriteD2(b, off::headCentringFrontTractor, v.headCentringFrontTractor);
    WriteD3(b, off::headCentringRearTractor, v.headCentringRearTractor);

    const int ret = IndexOf(kAutoReturnTimes, v.autoReturnTime);
    WriteD2(b, off::autoReturnTime, ret == 0 ? 0 : ret == 1 ? 8 : 15);

    b[off::sheetGuideFeedTime + 1] =
        static_cast<std::uint8_t>('0' + static_cast<unsigned>(v.sheetGuideFeedTime) % 10);

    const int aga = IndexOf(kAgaRetryTimes, v.agaRetryTime);
    WriteD2(b, off::agaRetryTime, aga < 0 ? 2 : aga);

    for (std::size_t i = 0; i < kLfPitchOffsets.size(); ++i) {
        const int index = IndexOf(kLfPitchTexts, v.lfPitch[i]);
        WriteS2(b, kLfPitchOffsets[i], index < 0 ? 0 : index - 5);
    }
}

}  // namespace qv
