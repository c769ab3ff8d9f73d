#include "FormSetupDlg.h"

#include <algorithm>
#include <array>

#include <commctrl.h>

#include "framework/DataExchange.h"
#include "framework/NumberBox.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

struct BoxRule {
    int box;
    int spin;
    int track;              // 0: no trackbar
    int min, max;           // clamp while typing, the spin range, and accepted on OK
    std::size_t maxLength;  // longer texts are rewritten as their number
};

// In the order the values are exchanged; the first five follow qv::LoadPath.
constexpr std::array<BoxRule, 10> kBoxes = {{
    {IDC_FORM_FRONT_EDIT, IDC_FORM_FRONT_SPIN, IDC_FORM_FRONT_TRACK, 0, 170, 4},
    {IDC_FORM_REAR_EDIT, IDC_FORM_REAR_SPIN, IDC_FORM_REAR_TRACK, 0, 170, 4},
    {IDC_FORM_GUIDE_EDIT, IDC_FORM_GUIDE_SPIN, IDC_FORM_GUIDE_TRACK, 0, 170, 4},
    {IDC_FORM_FEEDER_EDIT, IDC_FORM_FEEDER_SPIN, IDC_FORM_FEEDER_TRACK, 0, 170, 4},
    {IDC_FORM_POSTCARD_EDIT, IDC_FORM_POSTCARD_SPIN, IDC_FORM_POSTCARD_TRACK, 0, 170, 4},
    {IDC_FORM_LENGTH_EDIT, IDC_FORM_LENGTH_SPIN, 0, 1, 99, 3},
    {IDC_FORM_LMARGIN_EDIT, IDC_FORM_LMARGIN_SPIN, 0, 0, 135, 4},
    {IDC_FORM_RMARGIN_EDIT, IDC_FORM_RMARGIN_SPIN, 0, 1, 136, 4},
    {IDC_FORM_FRONT_CORR_EDIT, IDC_FORM_FRONT_CORR_SPIN, 0, 0, 68, 3},
    {IDC_FORM_CUT_CORR_EDIT, IDC_FORM_CUT_CORR_SPIN, 0, 0, 68, 3},
}};
constexpr std::size_t kLoadBoxes = 5;
constexpr std::size_t kLeftMarginBox = 6;

constexpr std::array<int, 8> kMarginControls = {
    IDC_FORM_LMARGIN_LABEL, IDC_FORM_RMARGIN_LABEL, IDC_FORM_LMARGIN_EDIT, IDC_FORM_RMARGIN_EDIT,
    IDC_FORM_LMARGIN_SPIN,  IDC_FORM_RMARGIN_SPIN,  IDC_FORM_LMARGIN_UNIT, IDC_FORM_RMARGIN_UNIT};

int& ValueOf(qv::FormValues& v, std::size_t box)
{
    switch (box) {
    case 5: return v.formLength;
    case 6: return v.leftMargin;
    case 7: return v.rightMargin;
    case 8: return v.frontTractorCorrection;
    case 9: return v.cutSheetCorrection;
    default: return v.loadPos[box];
    }
}

bool IsPostcard(std::size_t box) { return box == qv::kLoadPostcard; }

// Signed number in a box; empty or unreadable text counts as 0.
int BoxNumber(HWND dialog, int id)
{
    BOOL ok = FALSE;
    const int value = static_cast<int>(::GetDlgItemInt(dialog, id, &ok, TRUE));
    return ok ? value : 0;
}

}  // namespace

CFormSetupDlg::CFormSetupDlg() : CDialog(IDD_FORM_SETUP)
{
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        MapNotify(static_cast<UINT>(kBoxes[i].box), EN_CHANGE, [this, i] { OnBoxChanged(i); });
    MapMessage(WM_HSCROLL, &CFormSetupDlg::OnHScroll);
}

void CFormSetupDlg::DoDataExchange(CDataExchange& dx)
{
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const BoxRule& rule = kBoxes[i];
        int& value = ValueOf(values, i);
        DDX_Text(dx, rule.box, value);
        DDV_MinMaxInt(dx, value, rule.min, rule.max);
        if (rule.track)
            DDX_Slider(dx, rule.track, values.loadStep[i]);
    }
}

BOOL CFormSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(FormatResString(IDS_FORM_TITLE, Widen(formName)));
    const bool form0 = qv::FormIndex(formName) == 0;
    for (const int id : kMarginControls)
        EnableDlgItem(id, !form0);
    for (const BoxRule& rule : kBoxes) {
        if (rule.track)
            SendDlgItemMessage(rule.track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 9));
        SendDlgItemMessage(rule.spin, UDM_SETRANGE32, static_cast<WPARAM>(rule.min), rule.max);
        AttachNumberBox(GetDlgItem(rule.box));
    }
    return TRUE;
}

void CFormSetupDlg::OnBoxChanged(std::size_t i)
{
    const BoxRule& rule = kBoxes[i];
    const HWND box = GetDlgItem(rule.box);
    const int value = BoxNumber(m_hWnd, rule.box);
    if (rule.track)
        SendDlgItemMessage(rule.track, TBM_SETPOS, TRUE, qv::NearestLoadStep(value, IsPostcard(i)));

    const std::wstring text = GetWindowText(box);
    std::wstring wanted = text;
    if (text.size() > rule.maxLength)
        wanted = std::to_wstring(value);
    // Only what the user types is clamped; spins and trackbars stay in range.
    const bool typing = ::GetFocus() == box;
    if (typing) {
        const int clamped = std::clamp(value, rule.min, rule.max);
        if (clamped != value)
            wanted = std::to_wstring(clamped);
    }
    // Writing the same text again would only call this handler once more.
    if (wanted != text)
        SetCorrectedNumber(box, wanted);
}

std::optional<LRESULT> CFormSetupDlg::OnHScroll(WPARAM, LPARAM)
{
    // The focused trackbar is the one that moved.
    const HWND focus = ::GetFocus();
    for (std::size_t i = 0; i < kLoadBoxes; ++i) {
        if (!focus || GetDlgItem(kBoxes[i].track) != focus)
            continue;
        const auto& steps = IsPostcard(i) ? qv::postcardPositionSteps : qv::loadPositionSteps;
        const int step = std::clamp(static_cast<int>(::SendMessageW(focus, TBM_GETPOS, 0, 0)), 0, 9);
        ::SetDlgItemInt(m_hWnd, kBoxes[i].box, static_cast<UINT>(steps[static_cast<std::size_t>(step)]),
                        TRUE);
        return 0;
    }
    return std::nullopt;
}

void CFormSetupDlg::OnOK()
{
    const BoxRule& leftRule = kBoxes[kLeftMarginBox];
    const int left = BoxNumber(m_hWnd, leftRule.box);
    const int right = BoxNumber(m_hWnd, IDC_FORM_RMARGIN_EDIT);
    // Left + 1 is a right margin only for a left margin in range; any other
    // left margin gets the range message below instead.
    if (left >= right && left >= leftRule.min && left <= leftRule.max) {
        ShowMessageBox(m_hWnd, LoadResString(IDS_MARGIN_ORDER), LoadResString(IDS_MARGIN_CAPTION),
                       MB_OK | MB_ICONEXCLAMATION);
        const HWND rightBox = GetDlgItem(IDC_FORM_RMARGIN_EDIT);
        ::SetFocus(rightBox);
        SetCorrectedNumber(rightBox, std::to_wstring(left + 1));
        return;
    }
    if (UpdateData(true))
        EndDialog(IDOK);
}
