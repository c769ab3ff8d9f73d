#include "MswPage.h"

#include "framework/DataExchange.h"
#include "framework/Text.h"

using qv::SwitchControl;

CMswPage::CMswPage(UINT templateId, int bank, const std::array<int, 8>& switchControls,
                   std::initializer_list<int> notifyingControls, qv::MswValues& values)
    : CSettingsPage(templateId, notifyingControls), bank_(bank), switchControls_(switchControls),
      values_(values)
{
}

void CMswPage::DoDataExchange(CDataExchange& dx)
{
    const auto& layout = qv::MswLayout(bank_);
    for (std::size_t i = 0; i < 8; ++i) {
        const int id = switchControls_[i];
        if (!id)
            continue;
        switch (layout.controls[i]) {
        case SwitchControl::Radio: DDX_Radio(dx, id, values_.controls[i]); break;
        case SwitchControl::Check: DDX_Check(dx, id, values_.controls[i]); break;
        case SwitchControl::Country: DDX_CBString(dx, id, values_.country); break;
        case SwitchControl::Cleared:
        case SwitchControl::Carried: break;  // no control is bound
        }
    }
}
