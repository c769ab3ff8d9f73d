// Common part of the four memory switch pages: each shows the two switch
// bytes of one bank as radio groups, check boxes and (bank 1) a country list.
#pragma once

#include <array>
#include <initializer_list>

#include "SettingsPage.h"
#include "core/MswConversion.h"

class CMswPage : public CSettingsPage {
public:
    const qv::MswValues& Values() const { return values_; }

protected:
    // switchControls: per switch, the radio group's button for 0, the check
    // box or the country list; 0 where the switch has no bound control.
    CMswPage(UINT templateId, int bank, const std::array<int, 8>& switchControls,
             std::initializer_list<int> notifyingControls, qv::MswValues& values);

    void DoDataExchange(CDataExchange& dx) override;

private:
    int bank_;
    std::array<int, 8> switchControls_;
    qv::MswValues& values_;  // the bank's part of the panel's values
};
