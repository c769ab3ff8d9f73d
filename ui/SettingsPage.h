// Base of the six settings pages: child dialogs under the main window's tab
// control that show their part of the panel's values and read it back.
#pragma once

#include <array>
#include <initializer_list>
#include <set>
#include <string_view>

#include "PageLists.h"
#include "framework/Dialog.h"
#include "framework/Text.h"
#include "resource.h"

class CSettingsPage : public CDialog {
public:
    CSettingsPage(UINT templateId, std::initializer_list<int> notifyingControls)
        : CDialog(templateId), templateId_(templateId), notifyingControls_(notifyingControls)
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

    // Fills the page's drop-down lists before the values are shown.
    BOOL OnInitDialog() override
    {
        for (const PageList& list : kPageLists)
            if (list.page == static_cast<int>(templateId_))
                for (const std::string_view entry : list.entries)
                    SendDlgItemMessage(list.control, CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(Widen(entry).c_str()));
        return CDialog::OnInitDialog();
    }

private:
    UINT templateId_;
    std::set<int> notifyingControls_;
};
