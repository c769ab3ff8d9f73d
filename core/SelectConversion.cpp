#include "SelectConversion.h"

#include "DigitFields.h"
#include "FieldLists.h"

namespace qv {

namespace {

int Chr(const SettingsBlock& b, std::size_t at) { return b[at] - '0'; }

void PutChr(SettingsBlock& b, std::size_t at, int code) { b[at] = static_cast<std::uint8_t>('0' + code); }

template <std::size_t N> std::string Entry(const std::array<std::string_view, N>& list, int index)
{
    return std::string(list[static_cast<std::size_t>(index)]);
}

// Print position steps: "0" + '1'..'3' and "F" + 'D'..'F'; any other second
// character reads as 0 without repairing the block.
std::optional<std::string> PrintPositionText(const SettingsBlock& b)
{
    const std::uint8_t sign = b[off::printPositionAdjust];
    const std::uint8_t step = b[off::printPositionAdjust + 1];
    if (sign == '0')
        return Entry(kPrintPositionTexts, step >= '1' && step <= '3' ? 3 + (step - '0') : 3);
    if (sign == 'F')
        return Entry(kPrintPositionTexts, step >= 'D' && step <= 'F' ? step - 'D' : 3);
    return std::nullopt;
}

}  // namespace

void LoadSelectValues(SettingsBlock& b, SelectValues& v)
{
    const int correction = ReadD2(b, off::autoPositionCorrection);
    v.autoPositionCorrection =
        Entry(kAutoPositionTexts, correction >= 0 && correction <= 24 ? correction : 0);

    if (const auto pressure = ReadS2Repaired(b, off::printPressure, '3', 'A'))
        v.printPressure = SignedText(*pressure);

    if (auto position = PrintPositionText(b))
        v.printPosition = *position;

    const int thickness = ReadD2(b, off::paperThickness);
    v.paperThickness = Entry(kPaperThicknessTexts, thickness >= 0 && thickness <= 12 ? thickness : 0);

    const int reduction = Chr(b, off::reduction);
    v.reduction = Entry(kReductionTexts, reduction == 1 ? 1 : reduction == 5 ? 2 : 0);

    const int setPosition = Chr(b, off::sheetGuideSetPosition);
    v.sheetGuideSetPosition = setPosition == 1 ? 1 : 0;
    const int typeface = Chr(b, off::typeface);
    v.typeface = typeface == 1 ? 1 : 0;

    const int copy = Chr(b, off::copyPower);
    v.copyPower = Entry(kCopyPowerTexts, copy == 1 || copy == 2 ? copy : 0);

    const int form = Chr(b, off::selectedForm);
    v.form = Entry(kFormNames, form >= 1 && form <= 4 ? form : 0);
}

void StoreSelectValues(const SelectValues& v, SettingsBlock& b)
{
    const int correction = IndexOf(kAutoPositionTexts, v.autoPositionCorrection);
    WriteD2(b, off::autoPositionCorrection, correction < 0 ? 0 : correction);

    const int pressure = IndexOf(kPrintPressureTexts, v.printPressure);
    WriteS2(b, off::printPressure, pressure < 0 ? 0 : pressure - 6);

    const int position = IndexOf(kPrintPositionTexts, v.printPosition);
    if (position >= 0) {
        const auto code = kPrintPositionCodes[static_cast<std::size_t>(position)];
        b[off::printPositionAdjust] = static_cast<std::uint8_t>(code[0]);
        b[off::printPositionAdjust + 1] = static_cast<std::uint8_t>(code[1]);
    }

    const int thickness = IndexOf(kPaperThicknessTexts, v.paperThickness);
    WriteD2(b, off::paperThickness, thickness < 0 ? 0 : thickness);

    const int reduction = IndexOf(kReductionTexts, v.reduction);
    if (reduction >= 0)
        b[off::reduction] = static_cast<std::uint8_t>(kReductionCodes[static_cast<std::size_t>(reduction)]);

    PutChr(b, off::sheetGuideSetPosition, v.sheetGuideSetPosition == 1 ? 1 : 0);
    PutChr(b, off::typeface, v.typeface == 1 ? 1 : 0);

    const int copy = IndexOf(kCopyPowerTexts, v.copyPower);
    PutChr(b, off::copyPower, copy < 0 ? 0 : copy);

    const int form = IndexOf(kFormNames, v.form);
    PutChr(b, off::selectedForm, form < 0 ? 0 : form);
}

}  // namespace qv
