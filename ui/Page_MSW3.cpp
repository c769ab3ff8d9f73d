#include "Page_MSW3.h"

#include "resource.h"

// The LAN adapter switch (MSW3-1) is not offered: its hidden buttons are not
// bound, yet a notification from them still counts as an edit. MSW3-6 has
// no control and is carried through.
CPage_MSW3::CPage_MSW3(qv::MswValues& values)
    : CMswPage(IDD_PAGE_MSW3, 3,
               {0, IDC_MSW3_MODE_PC, IDC_MSW3_LOADPOS_KEEP, IDC_MSW3_SF_ESCA, IDC_MSW3_AUTOCUT_OFF, 0,
                IDC_MSW3_SLASH_ZERO, IDC_MSW3_PERF_NOSKIP},
               {IDC_MSW3_SF_MULTI, IDC_MSW3_PERF_SKIP, IDC_MSW3_MODE_JOHO, IDC_MSW3_SLASH_ZERO,
                IDC_MSW3_LOADPOS_KEEP, IDC_MSW3_AUTOCUT_OFF, IDC_MSW3_SF_ESCA, IDC_MSW3_PERF_NOSKIP,
                IDC_MSW3_LAN_NONE, IDC_MSW3_MODE_PC, IDC_MSW3_AUTOCUT_ON, IDC_MSW3_LOADPOS_FORGET,
                IDC_MSW3_LAN_PRESENT},
               values)
{
}
