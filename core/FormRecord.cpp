#include "FormRecord.h"

#include <cstdlib>

#include "DigitFields.h"
#include "FieldLists.h"

namespace qv {

namespace {

constexpr FormFieldPositions kShort = {0, -1, -1, {3, 7, 11, 15, 19}, 23, 26};
constexpr FormFieldPositions kLong = {0, 3, 7, {11, 15, 19, 23, 27}, 31, 34};

// Field positions are never negative where a layout has the field.
std::size_t At(int position) { return static_cast<std::size_t>(position); }

}  // namespace

const FormFieldPositions& FieldPositionsOf(FormLayout layout)
{
    return layout == FormLayout::Short ? kShort : kLong;
}

FormValues ParseFormRecord(const FormRecordBuffer& record, FormLayout layout)
{
    const auto& p = FieldPositionsOf(layout);
    FormValues v;
    v.formLength = ReadDigits(record, At(p.formLength), 2);
    v.leftMargin = layout == FormLayout::Short ? 0 : ReadDigits(record, At(p.leftMargin), 3);
    v.rightMargin = layout == FormLayout::Short ? 136 : ReadDigits(record, At(p.rightMargin), 3);
    for (std::size_t i = 0; i < 5; ++i) {
        v.loadPos[i] = ReadDigits(record, At(p.loadPos[i]), 3);
        v.loadStep[i] = NearestLoadStep(v.loadPos[i], i == kLoadPostcard);
    }
    v.cutSheetCorrection = ReadDigits(record, At(p.cutSheetCorrection), 2);
    v.frontTractorCorrection = ReadDigits(record, At(p.frontTractorCorrection), 2);
    return v;
}

void WriteFormRecord(const FormValues& v, FormLayout layout, FormRecordBuffer& record)
{
    const auto& p = FieldPositionsOf(layout);
    WriteTwoDigits(record, At(p.formLength), v.formLength);
    if (layout == FormLayout::Long) {
        WriteThreeDigits(record, At(p.leftMargin), v.leftMargin);
        WriteThreeDigits(record, At(p.rightMargin), v.rightMargin);
    }
    for (std::size_t i = 0; i < 5; ++i)
        WriteThreeDigits(record, At(p.loadPos[i]), v.loadPos[i]);
    WriteTwoDigits(record, At(p.cutSheetCorrection), v.cutSheetCorrection);
    WriteTwoDigits(record, At(p.frontTractorCorrection), v.frontTractorCorrection);
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
