// The printer selection dialog: lists the eligible printers and lets the
// operator choose the one the panel talks to.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "resource.h"

class CPrinterSelectDlg : public CDialog {
public:
    CPrinterSelectDlg() : CDialog(IDD_PRINTER_SELECT) {}

    std::wstring printerName;
    std::wstring portName;
    unsigned printerCount = 0;
    bool startupComplete = false;
};
