#include "PanelValues.h"

namespace qv {

void PanelValues::Load(SettingsBlock& block)
{
    LoadSelectValues(block, select);
    forms.LoadFromBlock(block);
    LoadParamValues(block, param);
    LoadMswValues(1, block, msw1);
    LoadMswValues(2, block, msw2);
    LoadMswValues(3, block, msw3);
    LoadMswValues(4, block, msw4);
}

void PanelValues::Store(SettingsBlock& block)
{
    StoreSelectValues(select, block);
    forms.StoreToBlock(block);
    StoreParamValues(param, block);
    StoreMswValues(1, msw1, block);
    StoreMswValues(2, msw2, block);
    StoreMswValues(3, msw3, block);
    StoreMswValues(4, msw4, block);
}

PanelValues StartupPanelValues()
{
    PanelValues values;
    SettingsBlock factory = FactoryDefaults;
    values.Load(factory);
    return values;
}

PanelLoad LoadAsPanel(const SettingsBlock& stored)
{
    PanelLoad load{StartupPanelValues(), stored};
    load.values.Load(load.block);
    load.values.Store(load.block);
    return load;
}

}  // namespace qv
