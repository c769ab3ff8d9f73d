// Base of the six settings pages: child dialogs under the main window's tab
// control that show their part of the panel's values and read it back.
#pragma once

#include <array>
#include <initializer_list>
#include <set>
#include <string_view>

#include "framework/Dialog.h"
#include "framework/Text.h"
#include "resource.h"

class CSettingsPage : public CDialog {
public:
    CSettingsPage(UINT templateId, std::initializer_list<int> notifyingControls)
        : CDialog(templateId), notifyingControls_(notifyingControls)
    {
    }

    // Values to controls, once the page has its window; sends no
    // data-check command. A page without a window shows its values when it
    // is created.
    virtual void ShowValues()
    {
        if (m_hWnd)
            UpdateData(false);
    }
    // Controls to values, when the page has its window.
    void ReadValues()
    {
        if (m_hWnd)
            UpdateData(true);
    }

protected:
    // Any notification of a listed control first tells the main window that
    // something may have changed, then is processed as usual.
    bool OnCommandMessage(UINT id, UINT, HWND control) override
    {
        if (control && notifyingControls_.count(static_cast<int>(id)))
            SendCommand(ID_DATA_CHECK);
        return false;
    }

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
