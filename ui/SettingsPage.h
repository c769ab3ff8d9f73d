// Base of the six settings pages: child dialogs under the main window's tab
// control that move their bytes between a block and their controls.
#pragma once

#include <array>
#include <initializer_list>
#include <set>
#include <string_view>

#include "core/SettingsBlock.h"
#include "framework/Dialog.h"
#include "framework/Text.h"

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

    // The templates leave the drop-down lists empty; the entries are the
    // core's lists, which the conversions compare with.
    template <std::size_t N> static void FillList(HWND list, const std::array<std::string_view, N>& entries)
    {
        for (const auto entry : entries)
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    }

private:
    std::set<int> notifyingControls_;
};
