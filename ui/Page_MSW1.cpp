#include "Page_MSW1.h"

#include "resource.h"

// Switches 1-3 together form the country number shown by the list.
CPage_MSW1::CPage_MSW1(qv::MswValues& values)
    : CMswPage(IDD_PAGE_MSW1, 1,
               {IDC_MSW1_COUNTRY, 0, 0, IDC_MSW1_RX_COMPAT, IDC_MSW1_DC13_ON, IDC_MSW1_AUTO_CRLF,
                IDC_MSW1_PRINT_CR, IDC_MSW1_CR_ONLY},
               {IDC_MSW1_AUTO_CRLF, IDC_MSW1_COUNTRY, IDC_MSW1_PRINT_CR, IDC_MSW1_AUTO_CR, IDC_MSW1_CR_ONLY,
                IDC_MSW1_CR_CRLF, IDC_MSW1_DC13_ON, IDC_MSW1_RX_COMPAT, IDC_MSW1_PRINT_ALL, IDC_MSW1_DC13_OFF,
                IDC_MSW1_RX_FAST},
               values)
{
}
