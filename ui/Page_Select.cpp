#include "Page_Select.h"

#include "core/FieldLists.h"
#include "framework/DataExchange.h"
#include "framework/Text.h"

namespace {

// The caption must fit the button's 19 bytes in the program's code page.
constexpr std::size_t kFormButtonCaptionBytes = 19;

}  // namespace

CPage_Select::CPage_Select()
    : CSettingsPage(IDD_PAGE_SELECT, {IDC_SELECT_THICKNESS, IDC_SELECT_PRESSURE, IDC_SELECT_POSITION,
                                      IDC_SELECT_AUTO_CORRECTION, IDC_SELECT_REDUCTION, IDC_SELECT_COPY_POWER,
                                      IDC_SELECT_SET_AUTO, IDC_SELECT_FACE_GOTHIC, IDC_SELECT_SET_LEFT,
                                      IDC_SELECT_FACE_MINCHO})
{
    MapNotify(IDC_SELECT_FORM_BUTTON, BN_CLICKED, &CPage_Select::OnFormButton);
}

BOOL CPage_Select::OnInitDialog()
{
    FillList(GetDlgItem(IDC_SELECT_AUTO_CORRECTION), qv::kAutoPositionTexts);
    FillList(GetDlgItem(IDC_SELECT_THICKNESS), qv::kPaperThicknessTexts);
    FillList(GetDlgItem(IDC_SELECT_PRESSURE), qv::kPrintPressureTexts);
    FillList(GetDlgItem(IDC_SELECT_POSITION), qv::kPrintPositionTexts);
    FillList(GetDlgItem(IDC_SELECT_REDUCTION), qv::kReductionTexts);
    FillList(GetDlgItem(IDC_SELECT_COPY_POWER), qv::kCopyPowerTexts);
    FillList(GetDlgItem(IDC_SELECT_FORM_LIST), qv::kFormNames);
    return CSettingsPage::OnInitDialog();
}

void CPage_Select::DoDataExchange(CDataExchange& dx)
{
    DDX_CBString(dx, IDC_SELECT_PRESSURE, values.printPressure);
    DDX_CBString(dx, IDC_SELECT_POSITION, values.printPosition);
    DDX_CBString(dx, IDC_SELECT_THICKNESS, values.paperThickness);
    DDX_CBString(dx, IDC_SELECT_REDUCTION, values.reduction);
    DDX_Radio(dx, IDC_SELECT_FACE_MINCHO, values.typeface);
    DDX_CBString(dx, IDC_SELECT_FORM_LIST, values.form);
    DDX_CBString(dx, IDC_SELECT_COPY_POWER, values.copyPower);
    DDX_CBString(dx, IDC_SELECT_AUTO_CORRECTION, values.autoPositionCorrection);
    DDX_Radio(dx, IDC_SELECT_SET_LEFT, values.sheetGuideSetPosition);
}

void CPage_Select::LoadFromBlock(qv::SettingsBlock& block)
{
    qv::LoadSelectValues(block, values);
    formDlg.records.LoadFromBlock(block);
    if (m_hWnd)
        UpdateData(false);
}

void CPage_Select::StoreToBlock(qv::SettingsBlock& block)
{
    if (m_hWnd)
        UpdateData(true);
    qv::StoreSelectValues(values, block);
    formDlg.records.StoreToBlock(block);
}

void CPage_Select::UpdateFormButtonCaption()
{
    const std::wstring caption = Widen(values.form) + L"の設定(&D)...";
    SetDlgItemText(IDC_SELECT_FORM_BUTTON, CutToCp932Bytes(caption, kFormButtonCaptionBytes));
}

bool CPage_Select::OnCommandMessage(UINT id, UINT code, HWND control)
{
    CSettingsPage::OnCommandMessage(id, code, control);
    // The data check collects the list into the form text first.
    if (control && id == IDC_SELECT_FORM_LIST) {
        SendCommand(kDataCheckCommand);
        UpdateFormButtonCaption();
    }
    return false;
}

void CPage_Select::OnFormButton()
{
    const int form = qv::FormIndex(values.form);
    if (form >= 0)
        formDlg.ParseRecord(form);
    formDlg.formName = values.form;
    if (formDlg.DoModal(::GetAncestor(m_hWnd, GA_ROOT)) == IDOK)
        SendCommand(kDataCheckCommand);
}
