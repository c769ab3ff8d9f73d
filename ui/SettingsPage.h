// Base of the six settings pages: child dialogs under the main window's tab
// control that move their bytes between a block and their controls.
#pragma once

#include <initializer_list>
#include <set>

#include "core/SettingsBlock.h"
#include "framework/Dialog.h"

class CSettingsPage : public CDialog {
public:
    CSettingsPage(UINT templateId, std::initializer_list<int> notifyingControls)
        : CDialog(templateId), notifyingControls_(notifyingControls)
    {
    }

    // Block to controls. Sends no data-check command.
    virtual void LoadFromBlock(qv::SettingsBlock& block) = 0;
    // Controls to the page's own bytes of the block.
    virtual void StoreToBlock(qv::SettingsBlock& block) = 0;

protected:
    // Any notification of a listed control first tells the main window that
    // something may have changed, then is processed as usual.
    bool OnCommandMessage(UINT id, UINT, HWND control) override
    {
        if (control && notifyingControls_.count(static_cast<int>(id)))
            SendCommand(kDataCheckCommand);
        return false;
    }

    static constexpr UINT kDataCheckCommand = 32805;

private:
    std::set<int> notifyingControls_;
};
