// Operating parameters: head centring at paper intake, fonts, kanji table,
// AGA and return times, postcard mode, intake time and LF pitch corrections.
#pragma once

#include <array>

#include "SettingsPage.h"
#include "core/ParamConversion.h"

class CPage_Param : public CSettingsPage {
public:
    explicit CPage_Param(qv::ParamValues& values);

    void ShowValues() override;
    // A head-centring box holds a value still being typed (below its range).
    bool CentringCheckPending() const;
    // Tells the user, then puts the lower limit into every pending box.
    void CorrectCentringValues();
    const qv::ParamValues& Values() const { return values_; }

    // The number boxes; the head-centring ones come first.
    enum Entry { kCutSheet, kFrontTractor, kRearTractor, kIntakeTime, kEntryCount };

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnEntryChange(Entry entry);

    qv::ParamValues& values_;                  // the parameters of the panel's values
    std::array<bool, kIntakeTime> pending_{};  // per head-centring entry
};
