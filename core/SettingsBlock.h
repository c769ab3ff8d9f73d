// The 270-byte settings block: the printer command that carries every
// setting, and at the same time the panel's in-memory model.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qv {

constexpr std::size_t kBlockSize = 270;
using SettingsBlock = std::array<std::uint8_t, kBlockSize>;

// Field offsets. Every field of the block is named once here.
namespace off {
constexpr std::size_t commandHeader = 0;  // 4 bytes: FS 'o' '0' ','
constexpr std::size_t msw1 = 4;           // 2 raw bytes each
constexpr std::size_t msw2 = 7;
constexpr std::size_t msw3 = 10;
constexpr std::size_t msw4 = 13;
constexpr std::size_t font1 = 16;
constexpr std::size_t font2 = 18;
constexpr std::size_t kanjiCodeTable = 20;
constexpr std::size_t reserved22 = 22;
constexpr std::size_t postcardMode = 24;
constexpr std::size_t sheetGuideSetPosition = 26;
constexpr std::size_t headCentringCutSheet = 28;      // D2
constexpr std::size_t headCentringFrontTractor = 31;  // D2
constexpr std::size_t headCentringRearTractor = 34;   // D3
constexpr std::size_t form0 = 38;                     // 29-byte short record
constexpr std::size_t autoPositionCorrection = 67;    // D2
constexpr std::size_t typeface = 70;
constexpr std::size_t reduction = 72;
constexpr std::size_t paperThickness = 74;       // D2
constexpr std::size_t printPressure = 77;        // S2
constexpr std::size_t printPositionAdjust = 80;  // S2
constexpr std::size_t copyPower = 83;
constexpr std::size_t selectedForm = 85;
constexpr std::size_t form1 = 87;  // 37-byte long records
constexpr std::size_t reserved124 = 124;
constexpr std::size_t form2 = 126;
constexpr std::size_t reserved163 = 163;
constexpr std::size_t form3 = 165;
constexpr std::size_t reserved202 = 202;
constexpr std::size_t form4 = 204;
constexpr std::size_t reserved241 = 241;
constexpr std::size_t autoReturnTime = 243;      // D2
constexpr std::size_t sheetGuideFeedTime = 246;  // D2, units digit only
constexpr std::size_t agaRetryTime = 249;        // D2
constexpr std::size_t lfPitchFrontTractor = 252; // S2
constexpr std::size_t lfPitchRearTractor = 255;  // S2
constexpr std::size_t lfPitchSheetGuide = 258;   // S2
constexpr std::size_t lfPitchSheetFeeder = 261;  // S2
constexpr std::size_t terminator = 263;
constexpr std::size_t padding = 264;  // 6 zero bytes
}  // namespace off

constexpr std::size_t kShortRecordSize = 29;
constexpr std::size_t kLongRecordSize = 37;
// Start of the record of forms 0 to 4.
constexpr std::array<std::size_t, 5> kFormOffsets = {off::form0, off::form1, off::form2, off::form3,
                                                     off::form4};
constexpr std::size_t FormRecordSize(int form) { return form == 0 ? kShortRecordSize : kLongRecordSize; }

extern const SettingsBlock FactoryDefaults;

// Fixed-width decimal fields. Reads do not check for digits: each character
// counts as its code minus '0', and range checks catch the result.
int ReadD2(const SettingsBlock& b, std::size_t at);
int ReadD3(const SettingsBlock& b, std::size_t at);
void WriteD2(SettingsBlock& b, std::size_t at, int value);
void WriteD3(SettingsBlock& b, std::size_t at, int value);  // "%03d", first three characters

// Two-character signed code: "0n" for n >= 0, "F" + (0x47 + v) for v < 0.
// Empty when the first character is neither '0' nor 'F'.
std::optional<int> ReadS2(const SettingsBlock& b, std::size_t at);
void WriteS2(SettingsBlock& b, std::size_t at, int value);

// Reads an S2 field and repairs its second character in the block when it
// lies outside the allowed digits '0'..maxDigit or letters minLetter..'F':
// a bad digit becomes '0', a bad letter 'G', so the field reads as 0.
std::optional<int> ReadS2Repaired(SettingsBlock& b, std::size_t at, char maxDigit, char minLetter);

}  // namespace qv
