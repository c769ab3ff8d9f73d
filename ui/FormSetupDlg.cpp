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

using qv::FormPart;

struct BoxControls {
    int box;
    int spin;
    int track;  // 0: no trackbar
};

// Indexed by qv::FormPart; the ranges are the form record's.
constexpr std::array<BoxControls, qv::kFormParts.size()> kBoxes = {{
    {IDC_FORM_FRONT_EDIT, IDC_FORM_FRONT_SPIN, IDC_FORM_FRONT_TRACK},
    {IDC_FORM_REAR_EDIT, IDC_FORM_REAR_SPIN, IDC_FORM_REAR_TRACK},
    {IDC_FORM_GUIDE_EDIT, IDC_FORM_GUIDE_SPIN, IDC_FORM_GUIDE_TRACK},
    {IDC_FORM_FEEDER_EDIT, IDC_FORM_FEEDER_SPIN, IDC_FORM_FEEDER_TRACK},
    {IDC_FORM_POSTCARD_EDIT, IDC_FORM_POSTCARD_SPIN, IDC_FORM_POSTCARD_TRACK},
    {IDC_FORM_LENGTH_EDIT, IDC_FORM_LENGTH_SPIN, 0},
    {IDC_FORM_LMARGIN_EDIT, IDC_FORM_LMARGIN_SPIN, 0},
    {IDC_FORM_RMARGIN_EDIT, IDC_FORM_RMARGIN_SPIN, 0},
    {IDC_FORM_FRONT_CORR_EDIT, IDC_FORM_FRONT_CORR_SPIN, 0},
    {IDC_FORM_CUT_CORR_EDIT, IDC_FORM_CUT_CORR_SPIN, 0},
}};

const BoxControls& BoxOf(FormPart part) { return kBoxes[static_cast<std::size_t>(part)]; }

// A text longer than the record's digits and one more is rewritten as its
// number.
std::size_t MaxLength(FormPart part) { return static_cast<std::size_t>(qv::RuleOf(part).digits) + 1; }

constexpr std::array<int, 8> kMarginControls = {
    IDC_FORM_LMARGIN_LABEL, IDC_FORM_RMARGIN_LABEL, IDC_FORM_LMARGIN_EDIT, IDC_FORM_RMARGIN_EDIT,
    IDC_FORM_LMARGIN_SPIN,  IDC_FORM_RMARGIN_SPIN,  IDC_FORM_LMARGIN_UNIT, IDC_FORM_RMARGIN_UNIT};

bool IsPostcard(FormPart part) { return part == FormPart::LoadPosPostcard; }

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
    for (const FormPart part : qv::kFormParts)
        MapNotify(static_cast<UINT>(BoxOf(part).box), EN_CHANGE, [this, part] { OnBoxChanged(part); });
    MapMessage(WM_HSCROLL, &CFormSetupDlg::OnHScroll);
}

void CFormSetupDlg::DoDataExchange(CDataExchange& dx)
{
    for (const FormPart part : qv::kFormParts) {
        const BoxControls& controls = BoxOf(part);
        const qv::FormFieldRule& rule = qv::RuleOf(part);
        int& value = qv::FieldValue(values, part);
        DDX_Text(dx, controls.box, value);
        DDV_MinMaxInt(dx, value, rule.min, rule.max);
        if (controls.track)
            DDX_Slider(dx, controls.track, values.loadStep[qv::LoadPathOf(part)]);
    }
}

BOOL CFormSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(FormatResString(IDS_FORM_TITLE, Widen(formName)));
    const bool form0 = qv::FormIndex(formName) == 0;
    for (const int id : kMarginControls)
        EnableDlgItem(id, !form0);
    for (const FormPart part : qv::kFormParts) {
        const BoxControls& controls = BoxOf(part);
        const qv::FormFieldRule& rule = qv::RuleOf(part);
        if (controls.track)
            SendDlgItemMessage(controls.track, TBM_SETRANGE, TRUE, MAKELPARAM(0, qv::kLastLoadStep));
        SendDlgItemMessage(controls.spin, UDM_SETRANGE32, static_cast<WPARAM>(rule.min), rule.max);
        AttachNumberBox(GetDlgItem(controls.box));
    }
    return TRUE;
}

void CFormSetupDlg::OnBoxChanged(FormPart part)
{
    const BoxControls& controls = BoxOf(part);
    const qv::FormFieldRule& rule = qv::RuleOf(part);
    const HWND box = GetDlgItem(controls.box);
    const int value = BoxNumber(m_hWnd, controls.box);
    if (controls.track)
        SendDlgItemMessage(controls.track, TBM_SETPOS, TRUE, qv::NearestLoadStep(value, IsPostcard(part)));

    const std::wstring text = GetWindowText(box);
    std::wstring wanted = text;
    if (text.size() > MaxLength(part))
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
    for (const FormPart part : qv::kFormParts) {
        const BoxControls& controls = BoxOf(part);
        if (!focus || !controls.track || GetDlgItem(controls.track) != focus)
            continue;
        const auto& steps = IsPostcard(part) ? qv::postcardPositionSteps : qv::loadPositionSteps;
        const int step =
            std::clamp(static_cast<int>(::SendMessageW(focus, TBM_GETPOS, 0, 0)), 0, qv::kLastLoadStep);
        ::SetDlgItemInt(m_hWnd, controls.box, static_cast<UINT>(steps[static_cast<std::size_t>(step)]), TRUE);
        return 0;
    }
    return std::nullopt;
}

void CFormSetupDlg::OnOK()
{
    const qv::FormFieldRule& leftRule = qv::RuleOf(FormPart::LeftMargin);
    const int left = BoxNumber(m_hWnd, BoxOf(FormPart::LeftMargin).box);
    const int rightId = BoxOf(FormPart::RightMargin).box;
    const int right = BoxNumber(m_hWnd, rightId);
    // Left + 1 is a right margin only for a left margin in range; any other
    // left margin gets the range message below instead.
    if (left >= right && left >= leftRule.min && left <= leftRule.max) {
        ShowMessageBox(m_hWnd, LoadResString(IDS_MARGIN_ORDER), LoadResString(IDS_MARGIN_CAPTION),
                       MB_OK | MB_ICONEXCLAMATION);
        const HWND rightBox = GetDlgItem(rightId);
        ::SetFocus(rightBox);
        SetCorrectedNumber(rightBox, std::to_wstring(left + 1));
        return;
    }
    if (UpdateData(true))
        EndDialog(IDOK);
}
