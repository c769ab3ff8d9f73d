// Every page's conversions at once, as distribute and collect run them.
#pragma once

#include "core/FormRecord.h"
#include "core/MswConversion.h"
#include "core/ParamConversion.h"
#include "core/SelectConversion.h"

struct AllPages {
    qv::SelectValues select;
    qv::ParamValues param;
    qv::MswValues msw1{1}, msw2{2}, msw3{3}, msw4{4};
    qv::FormRecordSet forms;

    void Load(qv::SettingsBlock& b)
    {
        qv::LoadSelectValues(b, select);
        forms.LoadFromBlock(b);
        qv::LoadParamValues(b, param);
        qv::LoadMswValues(1, b, msw1);
        qv::LoadMswValues(2, b, msw2);
        qv::LoadMswValues(3, b, msw3);
        qv::LoadMswValues(4, b, msw4);
    }
    void Store(qv::SettingsBlock& b)
    {
        qv::StoreSelectValues(select, b);
        forms.StoreToBlock(b);
        qv::StoreParamValues(param, b);
        qv::StoreMswValues(1, msw1, b);
        qv::StoreMswValues(2, msw2, b);
        qv::StoreMswValues(3, msw3, b);
        qv::StoreMswValues(4, msw4, b);
    }
};
