#include "Page_Param.h"

#include <string>

#include <commctrl.h>

#include "framework/DataExchange.h"
#include "framework/NumberBox.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

struct EntryRule {
    int id;
    std::size_t maxLength;  // a longer text is cut back to its leading number
    int min;
    int max;
};

// Indexed by CPage_Param's Entry.
constexpr EntryRule kEntryRules[] = {
    {IDC_PARAM_CUT_SHEET, 3, qv::kCentringMin, qv::kCentringMax},
    {IDC_PARAM_FRONT_TRACTOR, 3, qv::kCentringMin, qv::kCentringMax},
    {IDC_PARAM_REAR_TRACTOR, 4, qv::kRearCentringMin, qv::kRearCentringMax},
    {IDC_PARAM_INTAKE_TIME, 2, qv::kFeedTimeMin, qv::kFeedTimeMax},
};

// Large enough for any entry, small enough to stay an int.
constexpr unsigned kNumberCap = 999999999;

unsigned LeadingNumber(const std::wstring& text)
{
    unsigned v = 0;
    for (std::size_t i = 0; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        v = v > kNumberCap / 10 ? kNumberCap : v * 10 + static_cast<unsigned>(text[i] - L'0');
    return v > kNumberCap ? kNumberCap : v;
}

// 0 unless the whole text is a decimal number.
unsigned WholeNumber(const std::wstring& text)
{
    for (const wchar_t c : text)
        if (c < L'0' || c > L'9')
            return 0;
    return LeadingNumber(text);
}

enum class Verdict { Accept, Pending, ToMin, ToMax };

// What a focused entry does with the value typed so far. Below the range a
// head-centring value that may still be the first digits of a valid one is
// held back; anything else is replaced by the limit.
Verdict Judge(CPage_Param::Entry entry, unsigned v, const EntryRule& rule)
{
    if (v > static_cast<unsigned>(rule.max))
        return Verdict::ToMax;
    if (v >= static_cast<unsigned>(rule.min))
        return Verdict::Accept;
    switch (entry) {
    case CPage_Param::kCutSheet:
    case CPage_Param::kFrontTractor: return v >= 1 && v <= 6 ? Verdict::Pending : Verdict::ToMin;
    case CPage_Param::kRearTractor: return v == 1 || (v >= 6 && v <= 67) ? Verdict::Pending : Verdict::ToMin;
    default: return Verdict::ToMin;
    }
}

}  // namespace

CPage_Param::CPage_Param(qv::ParamValues& values)
    : CSettingsPage(IDD_PAGE_PARAM,
                    {IDC_PARAM_POSTCARD_ON, IDC_PARAM_FONT1, IDC_PARAM_FONT2, IDC_PARAM_POSTCARD_OFF,
                     IDC_PARAM_KANJI_TABLE, IDC_PARAM_LF_SHEET_GUIDE, IDC_PARAM_RETURN_TIME,
                     IDC_PARAM_LF_SHEET_FEEDER, IDC_PARAM_LF_FRONT_TRACTOR, IDC_PARAM_LF_REAR_TRACTOR,
                     IDC_PARAM_AGA_TIME}),
      values_(values)
{
    for (int entry = 0; entry < kEntryCount; ++entry)
        MapNotify(static_cast<UINT>(kEntryRules[entry].id), EN_CHANGE,
                  [this, entry] { OnEntryChange(static_cast<Entry>(entry)); });
}

BOOL CPage_Param::OnInitDialog()
{
    const BOOL result = CSettingsPage::OnInitDialog();
    SendDlgItemMessage(IDC_PARAM_CUT_SHEET_SPIN, UDM_SETRANGE32, qv::kCentringMin, qv::kCentringMax);
    SendDlgItemMessage(IDC_PARAM_FRONT_TRACTOR_SPIN, UDM_SETRANGE32, qv::kCentringMin, qv::kCentringMax);
    SendDlgItemMessage(IDC_PARAM_REAR_TRACTOR_SPIN, UDM_SETRANGE32, qv::kRearCentringMin,
                       qv::kRearCentringMax);
    SendDlgItemMessage(IDC_PARAM_INTAKE_TIME_SPIN, UDM_SETRANGE32, qv::kFeedTimeMin, qv::kFeedTimeMax);
    for (const EntryRule& rule : kEntryRules)
        AttachNumberBox(GetDlgItem(rule.id));
    return result;
}

void CPage_Param::DoDataExchange(CDataExchange& dx)
{
    DDX_CBString(dx, IDC_PARAM_FONT1, values_.font1);
    DDX_CBString(dx, IDC_PARAM_FONT2, values_.font2);
    DDX_CBString(dx, IDC_PARAM_KANJI_TABLE, values_.kanjiCodeTable);
    DDX_Text(dx, IDC_PARAM_FRONT_TRACTOR, values_.headCentringFrontTractor);
    DDX_Text(dx, IDC_PARAM_CUT_SHEET, values_.headCentringCutSheet);
    DDX_Radio(dx, IDC_PARAM_POSTCARD_OFF, values_.postcardMode);
    DDX_Text(dx, IDC_PARAM_REAR_TRACTOR, values_.headCentringRearTractor);
    // A refused intake time must not replace the one held, or the collect
    // would write it into the block after all.
    int feedTime = values_.sheetGuideFeedTime;
    DDX_Text(dx, IDC_PARAM_INTAKE_TIME, feedTime);
    DDV_MinMaxInt(dx, feedTime, qv::kFeedTimeMin, qv::kFeedTimeMax);
    if (dx.Active())
        values_.sheetGuideFeedTime = feedTime;
    DDX_CBString(dx, IDC_PARAM_RETURN_TIME, values_.autoReturnTime);
    DDX_CBString(dx, IDC_PARAM_AGA_TIME, values_.agaRetryTime);
    DDX_CBString(dx, IDC_PARAM_LF_SHEET_GUIDE, values_.lfPitch[qv::kLfSheetGuide]);
    DDX_CBString(dx, IDC_PARAM_LF_SHEET_FEEDER, values_.lfPitch[qv::kLfSheetFeeder]);
    DDX_CBString(dx, IDC_PARAM_LF_FRONT_TRACTOR, values_.lfPitch[qv::kLfFrontTractor]);
    DDX_CBString(dx, IDC_PARAM_LF_REAR_TRACTOR, values_.lfPitch[qv::kLfRearTractor]);
}

void CPage_Param::ShowValues()
{
    // Loaded values are within range: an entry left half-typed before the
    // load must not later be "corrected" over them.
    pending_.fill(false);
    CSettingsPage::ShowValues();
}

bool CPage_Param::CentringCheckPending() const
{
    for (const bool pending : pending_)
        if (pending)
            return true;
    return false;
}

void CPage_Param::CorrectCentringValues()
{
    ShowMessageBox(m_hWnd, LoadResString(IDS_CENTRING_OUT_OF_RANGE), LoadResString(IDS_CENTRING_CAPTION),
                   MB_OK | MB_ICONEXCLAMATION);
    const auto pending = pending_;
    for (const Entry entry : {kCutSheet, kFrontTractor, kRearTractor}) {
        if (!pending[entry])
            continue;
        pending_[entry] = false;
        const HWND box = GetDlgItem(kEntryRules[entry].id);
        ::SetFocus(box);
        SetCorrectedNumber(box, std::to_wstring(kEntryRules[entry].min));
    }
}

// Runs on every text change of an entry box, the page's own corrections
// included (which run it once more for the corrected text).
void CPage_Param::OnEntryChange(Entry entry)
{
    const EntryRule& rule = kEntryRules[entry];
    if (entry != kIntakeTime)
        pending_[entry] = false;
    const HWND box = GetDlgItem(rule.id);
    const std::wstring text = CWindow::GetWindowText(box);
    unsigned v = WholeNumber(text);
    if (text.size() > rule.maxLength) {
        v = LeadingNumber(text);
        // Rewriting an unchanged text would run this handling without end.
        const std::wstring shorter = std::to_wstring(v);
        if (shorter != text)
            SetCorrectedNumber(box, shorter);
    }
    // Loading and the spin controls only ever set values within range.
    if (::GetFocus() == box) {
        switch (Judge(entry, v, rule)) {
        case Verdict::Pending: pending_[entry] = true; break;
        case Verdict::ToMin: SetCorrectedNumber(box, std::to_wstring(rule.min)); break;
        case Verdict::ToMax: SetCorrectedNumber(box, std::to_wstring(rule.max)); break;
        case Verdict::Accept: break;
        }
    }
    SendCommand(ID_DATA_CHECK);
}
