// The panel's three copies of the settings and the two change tests.
#pragma once

#include "SettingsBlock.h"

namespace qv {

struct PanelState {
    SettingsBlock workingBlock = FactoryDefaults;  // what is saved and sent
    SettingsBlock savedBlock = FactoryDefaults;    // as of the last save, accepted load or start-up
    SettingsBlock sentBlock = FactoryDefaults;     // as of the last send or start-up

    // Byte-for-byte comparisons over all 270 bytes; neither collects.
    bool HasUnsentChanges() const { return workingBlock != sentBlock; }
    bool HasUnsavedChanges() const { return workingBlock != savedBlock; }
};

}  // namespace qv
