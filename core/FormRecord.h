// Form records: the text records of the five stored forms, their parse and
// write rules, and the load-position step tables of the form setup dialog.
#pragma once

#include <array>
#include <string_view>

#include "SettingsBlock.h"

namespace qv {

enum class FormLayout { Short, Long };  // form 0, forms 1 to 4

// Load positions in the order the dialog reads them.
enum LoadPath { kLoadFrontTractor, kLoadRearTractor, kLoadSheetGuide, kLoadSheetFeeder, kLoadPostcard };

struct FormValues {
    int formLength = 0;
    int leftMargin = 0;
    int rightMargin = 0;
    std::array<int, 5> loadPos{};   // 1/120 inch, indexed by LoadPath
    std::array<int, 5> loadStep{};  // trackbar step 0-9 per load position
    int cutSheetCorrection = 0;
    int frontTractorCorrection = 0;
};

inline constexpr std::array<int, 10> loadPositionSteps = {0, 15, 18, 20, 28, 30, 40, 46, 60, 120};
inline constexpr std::array<int, 10> postcardPositionSteps = {0, 15, 18, 20, 28, 30, 40, 54, 60, 120};
inline constexpr int kLastLoadStep = static_cast<int>(loadPositionSteps.size()) - 1;

// The fields of a record, in the order of the form dialog's boxes.
enum class FormPart {
    LoadPosFrontTractor,  // the five load positions follow LoadPath
    LoadPosRearTractor,
    LoadPosSheetGuide,
    LoadPosSheetFeeder,
    LoadPosPostcard,
    FormLength,
    LeftMargin,
    RightMargin,
    FrontTractorCorrection,
    CutSheetCorrection,
};
inline constexpr std::array<FormPart, 10> kFormParts = {
    FormPart::LoadPosFrontTractor, FormPart::LoadPosRearTractor, FormPart::LoadPosSheetGuide,
    FormPart::LoadPosSheetFeeder,  FormPart::LoadPosPostcard,    FormPart::FormLength,
    FormPart::LeftMargin,          FormPart::RightMargin,        FormPart::FrontTractorCorrection,
    FormPart::CutSheetCorrection};

// What the form dialog accepts in a field, and the field's digits in a record.
struct FormFieldRule {
    int min, max;
    int digits;
};
const FormFieldRule& RuleOf(FormPart part);

// The field's value in `values`.
int& FieldValue(FormValues& values, FormPart part);
int FieldValue(const FormValues& values, FormPart part);

bool IsLoadPosition(FormPart part);
// The LoadPath of a load-position part.
LoadPath LoadPathOf(FormPart part);

// Where the field starts in a record of `layout`; -1 where the layout has
// no such field (the margins of the short layout).
int FieldStart(FormLayout layout, FormPart part);

// A record buffer: the record bytes followed by a terminating zero.
using FormRecordBuffer = std::array<char, kLongRecordSize + 1>;

// Each digit counts as its character code minus '0'; nothing is validated.
// The short layout has no margins: left 0, right 136.
FormValues ParseFormRecord(const FormRecordBuffer& record, FormLayout layout);
// Writes the digit positions only; separators and terminator stay.
void WriteFormRecord(const FormValues& values, FormLayout layout, FormRecordBuffer& record);

// The step whose table value is nearest to value; ties go to the lower step.
int NearestLoadStep(int value, bool postcard);

// Form 0 to 4 for "書式０" to "書式４", -1 for any other text.
int FormIndex(std::string_view formName);
inline FormLayout LayoutOf(int form) { return form == 0 ? FormLayout::Short : FormLayout::Long; }

// The five records as the function-select page keeps them between a load
// and a store: copied as bytes, never parsed on the way.
struct FormRecordSet {
    std::array<FormRecordBuffer, 5> recordBuffers{};

    void LoadFromBlock(const SettingsBlock& block);
    void StoreToBlock(SettingsBlock& block) const;
};

}  // namespace qv
