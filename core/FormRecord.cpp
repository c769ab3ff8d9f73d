#include "FormRecord.h"

#include <cstdio>
#include <cstdlib>

#include "FieldLists.h"

namespace qv {

namespace {

constexpr FormFieldPositions kShort = {0, -1, -1, {3, 7, 11, 15, 19}, 23, 26};
constexpr FormFieldPositions kLong = {0, 3, 7, {11, 15, 19, 23, 27}, 31, 34};

int Digits(const FormRecordBuffer& r, int at, int count)
{
    int v = 0;
    for (int i = 0; i < count; ++i)
        v = v * 10 + (r[static_cast<std::size_t>(at + i)] - '0');
    return v;
}

void PutD2(FormRecordBuffer& r, int at, int value)
{
    const unsigned v = static_cast<unsigned>(std::abs(value));
    r[static_cast<std::size_t>(at)] = static_cast<char>('0' + (v / 10) % 10);
    r[static_cast<std::size_t>(at + 1)] = static_cast<char>('0' + v % 10);
}

void PutD3(FormRecordBuffer& r, int at, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    for (int i = 0; i < 3; ++i)
        r[static_cast<std::size_t>(at + i)] = text[i];
}

}  // namespace

const FormFieldPositions& FieldPositionsOf(FormLayout layout)
{
    return layout == FormLayout::Short ? kShort : kLong;
}

FormValues ParseFormRecord(const FormRecordBuffer& record, FormLayout layout)
{
    const auto& p = FieldPositionsOf(layout);
    FormValues v;
    v.formLength = Digits(record, p.formLength, 2);
    v.leftMargin = layout == FormLayout::Short ? 0 : Digits(record, p.leftMargin, 3);
    v.rightMargin = layout == FormLayout::Short ? 136 : Digits(record, p.rightMargin, 3);
    for (std::size_t i = 0; i < 5; ++i) {
        v.loadPos[i] = Digits(record, p.loadPos[i], 3);
        v.loadStep[i] = NearestLoadStep(v.loadPos[i], i == kLoadPostcard);
    }
    v.cutSheetCorrection = Digits(record, p.cutSheetCorrection, 2);
    v.frontTractorCorrection = Digits(record, p.frontTractorCorrection, 2);
    return v;
}

void WriteFormRecord(const FormValues& v, FormLayout layout, FormRecordBuffer& record)
{
    const auto& p = FieldPositionsOf(layout);
    PutD2(record, p.formLength, v.formLength);
    if (layout == FormLayout::Long) {
        PutD3(record, p.leftMargin, v.leftMargin);
        PutD3(record, p.rightMargin, v.rightMargin);
    }
    for (std::size_t i = 0; i < 5; ++i)
        PutD3(record, p.loadPos[i], v.loadPos[i]);
    PutD2(record, p.cutSheetCorrection, v.cutSheetCorrection);
    PutD2(record, p.frontTractorCorrection, v.frontTractorCorrection);
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
