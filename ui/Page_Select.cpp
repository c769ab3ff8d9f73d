#include "Page_Select.h"

#include "framework/DataExchange.h"
#include "framework/Text.h"

namespace {

// The caption must fit the button's 19 bytes in the program's code page.
constexpr std::size_t kFormButtonCaptionBytes = 19;

}  // namespace

CPage_Select::CPage_Select(qv::SelectValues& values, qv::FormRecordSet& forms)
    : CSettingsPage(IDD_PAGE_SELECT, {IDC_SELECT_THICKNESS, IDC_SELECT_PRESSURE, IDC_SELECT_POSITION,
                                      IDC_SELECT_AUTO_CORRECTION, IDC_SELECT_REDUCTION, IDC_SELECT_COPY_POWER,
                                      IDC_SELECT_SET_AUTO, IDC_SELECT_FACE_GOTHIC, IDC_SELECT_SET_LEFT,
                                      IDC_SELECT_FACE_MINCHO}),
      values_(values), forms_(forms)
{
    MapNotify(IDC_SELECT_FORM_BUTTON, BN_CLICKED, &CPage_Select::OnFormButton);
}

void CPage_Select::DoDataExchange(CDataExchange& dx)
{
    DDX_CBString(dx, IDC_SELECT_PRESSURE, values_.printPressure);
    DDX_CBString(dx, IDC_SELECT_POSITION, values_.printPosition);
    DDX_CBString(dx, IDC_SELECT_THICKNESS, values_.paperThickness);
    DDX_CBString(dx, IDC_SELECT_REDUCTION, values_.reduction);
    DDX_Radio(dx, IDC_SELECT_FACE_MINCHO, values_.typeface);
    DDX_CBString(dx, IDC_SELECT_FORM_LIST, values_.form);
    DDX_CBString(dx, IDC_SELECT_COPY_POWER, values_.copyPower);
    DDX_CBString(dx, IDC_SELECT_AUTO_CORRECTION, values_.autoPositionCorrection);
    DDX_Radio(dx, IDC_SELECT_SET_LEFT, values_.sheetGuideSetPosition);
}

void CPage_Select::UpdateFormButtonCaption()
{
    const std::wstring caption = FormatResString(IDS_FORM_BUTTON, Widen(values_.form));
    SetDlgItemText(IDC_SELECT_FORM_BUTTON, CutToCp932Bytes(caption, kFormButtonCaptionBytes));
}

bool CPage_Select::OnCommandMessage(UINT id, UINT code, HWND control)
{
    CSettingsPage::OnCommandMessage(id, code, control);
    // The data check collects the list into the form text first.
    if (control && id == IDC_SELECT_FORM_LIST) {
        SendCommand(ID_DATA_CHECK);
        UpdateFormButtonCaption();
    }
    return false;
}

void CPage_Select::OnFormButton()
{
    // The dialog edits the values of one record; OK hands them back.
    const int form = qv::FormIndex(values_.form);
    if (form >= 0)
        formDlg.values =
            qv::ParseFormRecord(forms_.recordBuffers[static_cast<std::size_t>(form)], qv::LayoutOf(form));
    formDlg.formName = values_.form;
    if (formDlg.DoModal(::GetAncestor(m_hWnd, GA_ROOT)) != IDOK)
        return;
    if (form >= 0)
        qv::WriteFormRecord(formDlg.values, qv::LayoutOf(form),
                            forms_.recordBuffers[static_cast<std::size_t>(form)]);
    SendCommand(ID_DATA_CHECK);
}
