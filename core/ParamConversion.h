// Operating parameters: the parameter page's values and their bytes.
#pragma once

#include <array>
#include <string>

#include "SettingsBlock.h"

namespace qv {

// LF pitch fields in the order the page lists them.
enum LfPitchPath { kLfSheetGuide, kLfSheetFeeder, kLfFrontTractor, kLfRearTractor };

struct ParamValues {
    std::string font1;
    std::string font2;
    std::string kanjiCodeTable;
    int headCentringFrontTractor = 0;
    int headCentringCutSheet = 0;
    int postcardMode = 0;  // radio index: 0 OFF, 1 ON
    int headCentringRearTractor = 0;
    int sheetGuideFeedTime = 0;
    std::string autoReturnTime;
    std::string agaRetryTime;
    std::array<std::string, 4> lfPitch;  // indexed by LfPitchPath
};

// Ranges of the head-centring entries and the intake time.
inline constexpr int kCentringMin = 10, kCentringMax = 68;
inline constexpr int kRearCentringMin = 68, kRearCentringMax = 126;
inline constexpr int kFeedTimeMin = 2, kFeedTimeMax = 5;

// Repairs out-of-range LF pitch codes in the block; changes nothing else.
// An LF pitch field whose sign character is neither '0' nor 'F' keeps its
// previous value.
void LoadParamValues(SettingsBlock& block, ParamValues& values);
// Writes bytes 16, 18, 20, 24, 28-29, 31-32, 34-36, 243-244, 247,
// 249-250 and the four LF pitch fields, nothing else.
void StoreParamValues(const ParamValues& values, SettingsBlock& block);

}  // namespace qv
