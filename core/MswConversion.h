// Memory switch banks: the two switch bytes of a bank and the values the
// memory switch page shows for them.
#pragma once

#include <array>
#include <string>

#include "SettingsBlock.h"

namespace qv {

// How a page shows each switch of its bank.
enum class SwitchControl {
    Radio,    // radio group: index 0 or 1
    Check,    // check box: 0 or 1
    Country,  // part of MSW1's country list (switches 1-3)
    Cleared,  // never read, always written as 0 (MSW3-1)
    Carried,  // no control, written back as last read (MSW3-6)
};

struct MswBankLayout {
    std::size_t offset;  // first of the bank's two bytes
    std::array<SwitchControl, 8> controls;
};

// bank is 1 to 4.
const MswBankLayout& MswLayout(int bank);

// Where switch `index` (0 for MSW<bank>-1) of a bank lives: switches 1-4 are
// bits 0-3 of the bank's first byte, 5-8 those of its second.
struct SwitchPlace {
    std::size_t offset;  // in the block
    std::uint8_t mask;
};
SwitchPlace PlaceOfSwitch(int bank, std::size_t index);

struct MswValues {
    // Per switch: the radio index or check state that shows it. Radio groups
    // hold -1 and check boxes 0 until the first load.
    std::array<int, 8> controls{};
    std::string country;            // bank 1 only; empty until the first load
    std::array<int, 8> switches{};  // as last read or written

    explicit MswValues(int bank);
};

void LoadMswValues(int bank, const SettingsBlock& block, MswValues& values);
// Writes the bank's two bytes (upper nibbles 0) and nothing else.
void StoreMswValues(int bank, MswValues& values, SettingsBlock& block);

}  // namespace qv
