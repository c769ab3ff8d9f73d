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

}  // namespace qv
