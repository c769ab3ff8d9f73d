// The panel's value model: every page's values at once, loaded from a block
// and stored into one in the pages' order (function select with the form
// records, parameters, MSW1 to MSW4).
#pragma once

#include "FormRecord.h"
#include "MswConversion.h"
#include "ParamConversion.h"
#include "SelectConversion.h"
#include "SettingsBlock.h"

namespace qv {

struct PanelValues {
    SelectValues select;
    ParamValues param;
    MswValues msw1{1}, msw2{2}, msw3{3}, msw4{4};
    FormRecordSet forms;

    // Block to values. The only place where loading changes a block: it
    // repairs out-of-range print-pressure and LF-pitch codes in it.
    void Load(SettingsBlock& block);
    // Values to block; bytes that no page writes keep their frame. Not
    // const: the memory switch banks remember the switches they wrote.
    void Store(SettingsBlock& block);
};

// The values of a panel that has just started: the factory settings loaded.
// Fields the panel does not read from a block (a sign character other than
// '0' or 'F') keep these.
PanelValues StartupPanelValues();

// What a freshly started panel holds after it reads `stored` from a settings
// file: the values it shows, and the block it then saves and sends (loaded,
// then collected, with every repair and fallback applied).
struct PanelLoad {
    PanelValues values;
    SettingsBlock block;
};
PanelLoad LoadAsPanel(const SettingsBlock& stored);

}  // namespace qv
