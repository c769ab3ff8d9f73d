#include "FormRecord.h"

#include <cstdlib>

#include "DigitFields.h"
#include "FieldLists.h"

namespace qv {

namespace {

struct FieldPositions {
    std::size_t formLength, leftMargin, rightMargin;  // no margins in the short layout
    std::array<std::size_t, 5> loadPos;
    std::size_t cutSheetCorrection, frontTractorCorrection;
};

constexpr FieldPositions kShort = {0, 0, 0, {3, 7, 11, 15, 19}, 23, 26};
constexpr FieldPositions kLong = {0, 3, 7, {11, 15, 19, 23, 27}, 31, 34};

const FieldPositions& PositionsOf(FormLayout layout) { return layout == FormLayout::Short ? kShort : kLong; }

}  // namespace

FormValues ParseFormRecord(const FormRecordBuffer& record, FormLayout layout)
{
    const auto& p = PositionsOf(layout);
    FormValues v;
    v.formLength = ReadDigits(record, p.formLength, 2);
    v.leftMargin = layout == FormLayout::Short ? 0 : ReadDigits(record, p.leftMargin, 3);
    v.rightMargin = layout == FormLayout::Short ? 136 : ReadDigits(record, p.rightMargin, 3);
    for (std::size_t i = 0; i < 5; ++i) {
        v.loadPos[i] = ReadDigits(record, p.loadPos[i], 3);
        v.loadStep[i] = NearestLoadStep(v.loadPos[i], i == kLoadPostcard);
    }
    v.cutSheetCorrection = ReadDigits(record, p.cutSheetCorrection, 2);
    v.frontTractorCorrection = ReadDigits(record, p.frontTractorCorrection, 2);
    return v;
}

void WriteFormRecord(const FormValues& v, FormLayout layout, FormRecordBuffer& record)
{
    const auto& p = PositionsOf(layout);
    WriteTwoDigits(record, p.formLength, v.formLength);
    if (layout == FormLayout::Long) {
        WriteThreeDigits(record, p.leftMargin, v.leftMargin);
        WriteThreeDigits(record, p.rightMargin, v.rightMargin);
    }
    for (std::size_t i = 0; i < 5; ++i)
        WriteThreeDigits(record, p.loadPos[i], v.loadPos[i]);
    WriteTwoDigits(record, p.cutSheetCorrection, v.cutSheetCorrection);
    WriteTwoDigits(record, p.frontTractorCorrection, v.frontTractorCorrection);
}

int NearestLoadStep(int value, bool postcard)
{
    const auto& steps = postcard ? postcardPositionSteps : loadPositionSteps;
    int best = 0;
    // 64 bits: long is 32 bits on Windows, where INT_MIN - 120 would overflow.
    long long bestDiff = 65535;
    for (int i = 0; i < 10; ++i) {
        const long long diff = std::llabs(static_cast<long long>(value) - steps[static_cast<std::size_t>(i)]);
        if (diff == 0)
            return i;
        if (diff < bestDiff) {
            bestDiff = diff;
            best = i;
        }
    }
    return best;
}

int FormIndex(std::string_view formName) { return IndexOf(kFormNames, formName); }

void FormRecordSet::LoadFromBlock(const SettingsBlock& block)
{
    for (int form = 0; form < 5; ++form) {
        auto& buffer = recordBuffers[static_cast<std::size_t>(form)];
        buffer.fill(0);
        const auto start =
            block.begin() + static_cast<std::ptrdiff_t>(kFormOffsets[static_cast<std::size_t>(form)]);
        std::copy(start, start + static_cast<std::ptrdiff_t>(FormRecordSize(form)), buffer.begin());
    }
}

void FormRecordSet::StoreToBlock(SettingsBlock& block) const
{
    for (int form = 0; form < 5; ++form) {
        const auto& buffer = recordBuffers[static_cast<std::size_t>(form)];
        const auto size = static_cast<std::ptrdiff_t>(FormRecordSize(form));
        std::copy(buffer.begin(), buffer.begin() + size,
                  block.begin() + static_cast<std::ptrdiff_t>(kFormOffsets[static_cast<std::size_t>(form)]));
    }
}

}  // namespace qv
