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

// Where each field of a record starts; the margins are -1 in the short
// layout. D2 fields are formLength and the two corrections, the rest D3.
struct FormFieldPositions {
    int formLength, leftMargin, rightMargin;
    std::array<int, 5> loadPos;  // indexed by LoadPath
    int cutSheetCorrection, frontTractorCorrection;
};
const FormFieldPositions& FieldPositionsOf(FormLayout layout);

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
