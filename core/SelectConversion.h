// Function-select settings: the function-select page's values and their
// bytes. The form records pass through FormRecordSet, not through here.
#pragma once

#include <string>

#include "SettingsBlock.h"

namespace qv {

struct SelectValues {
    std::string printPressure;
    std::string printPosition;
    std::string paperThickness;
    std::string reduction;
    int typeface = -1;  // radio index: 0 明朝体, 1 ゴシック体
    std::string form;
    std::string copyPower;
    std::string autoPositionCorrection;
    int sheetGuideSetPosition = -1;  // radio index: 0 左端, 1 自動
};

// Repairs an out-of-range print pressure code in the block; changes nothing
// else. Print pressure and print position keep their previous values when
// their sign character is neither '0' nor 'F'.
void LoadSelectValues(SettingsBlock& block, SelectValues& values);
// Writes bytes 26, 67-68, 70, 72 and 80-81 (each only for a text of its
// list), 74-75, 77-78, 83 and 85, nothing else.
void StoreSelectValues(const SelectValues& values, SettingsBlock& block);

}  // namespace qv
