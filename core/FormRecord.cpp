#include "FormRecord.h"

#include <cstdlib>

#include "DigitFields.h"
#include "FieldLists.h"

namespace qv {

namespace {

std::size_t Index(FormPart part) { return static_cast<std::size_t>(part); }

// In FormPart order.
constexpr std::array<FormFieldRule, kFormParts.size()> kRules = {{
    {0, 170, 3},  // load positions, 1/120 inch
    {0, 170, 3},
    {0, 170, 3},
    {0, 170, 3},
    {0, 170, 3},
    {1, 99, 2},   // form length, lines
    {0, 135, 3},  // left margin, columns
    {1, 136, 3},  // right margin, columns
    {0, 68, 2},   // front tractor correction, columns
    {0, 68, 2},   // cut sheet correction, columns
}};

// Field starts in FormPart order: form 0, forms 1 to 4.
constexpr std::array<int, kFormParts.size()> kShortStarts = {3, 7, 11, 15, 19, 0, -1, -1, 26, 23};
constexpr std::array<int, kFormParts.size()> kLongStarts = {11, 15, 19, 23, 27, 0, 3, 7, 34, 31};

// The short layout stores no margins and shows these.
constexpr int kShortLeftMargin = 0;
constexpr int kShortRightMargin = 136;

// Field positions are never negative where a layout has the field.
std::size_t At(int position) { return static_cast<std::size_t>(position); }

template <class Values> auto& Field(Values& v, FormPart part)
{
    switch (part) {
    case FormPart::FormLength: return v.formLength;
    case FormPart::LeftMargin: return v.leftMargin;
    case FormPart::RightMargin: return v.rightMargin;
    case FormPart::CutSheetCorrection: return v.cutSheetCorrection;
    case FormPart::FrontTractorCorrection: return v.frontTractorCorrection;
    default: return v.loadPos[LoadPathOf(part)];
    }
}

}  // namespace

const FormFieldRule& RuleOf(FormPart part) { return kRules[Index(part)]; }

int& FieldValue(FormValues& values, FormPart part) { return Field(values, part); }

int FieldValue(const FormValues& values, FormPart part) { return Field(values, part); }

bool IsLoadPosition(FormPart part) { return part <= FormPart::LoadPosPostcard; }

LoadPath LoadPathOf(FormPart part) { return static_cast<LoadPath>(Index(part)); }

int FieldStart(FormLayout layout, FormPart part)
{
    return (layout == FormLayout::Short ? kShortStarts : kLongStarts)[Index(part)];
}

FormValues ParseFormRecord(const FormRecordBuffer& record, FormLayout layout)
{
    FormValues v;
    v.leftMargin = kShortLeftMargin;
    v.rightMargin = kShortRightMargin;
    for (const FormPart part : kFormParts)
        if (const int start = FieldStart(layout, part); start >= 0)
            FieldValue(v, part) =
                ReadDigits(record, At(start), static_cast<std::size_t>(RuleOf(part).digits));
    for (std::size_t i = 0; i < v.loadPos.size(); ++i)
        v.loadStep[i] = NearestLoadStep(v.loadPos[i], i == kLoadPostcard);
    return v;
}

void WriteFormRecord(const FormValues& v, FormLayout layout, FormRecordBuffer& record)
{
    for (const FormPart part : kFormParts) {
        const int start = FieldStart(layout, part);
        if (start < 0)
            continue;
        if (RuleOf(part).digits == 2)
            WriteTwoDigits(record, At(start), FieldValue(v, part));
        else
            WriteThreeDigits(record, At(start), FieldValue(v, part));
    }
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
