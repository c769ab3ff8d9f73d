// The printer selection dialog: lists the eligible printers and lets the
// operator choose the one the panel talks to.
#pragma once

#include <string>

#include "core/PrinterDiscovery.h"
#include "framework/Dialog.h"
#include "resource.h"

class CPrinterSelectDlg : public CDialog {
public:
    CPrinterSelectDlg();

    std::wstring printerName;
    std::wstring portName;
    unsigned printerCount = 0;
    // Run while the panel starts: a single printer is then taken without
    // showing the dialog.
    bool atStartup = true;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    HWND List() const { return GetDlgItem(IDC_PRINTER_LIST); }
    void AddPrinter(const qv::ListedPrinter& printer);
    std::wstring ItemText(int item, int column) const;
    int SelectedItem() const;
    int InitialItem() const;
    void OnListDoubleClick();
    // Tells the operator and ends the process; a test handler that returns
    // gets a cancelled dialog instead.
    void EndProgram(UINT message);
};
