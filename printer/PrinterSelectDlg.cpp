#include "PrinterSelectDlg.h"
