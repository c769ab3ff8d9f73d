// The drop-down lists of the settings pages and the core list that fills
// each: the templates leave them empty, and the conversions compare the
// chosen text with the same list. Plain data, so that native tests can
// check it against the settings catalogue.
#pragma once

#include <span>
#include <string_view>

#include "core/FieldLists.h"
#include "resource.h"

struct PageList {
    int page;  // dialog template
    int control;
    std::span<const std::string_view> entries;
};

inline constexpr PageList kPageLists[] = {
    {IDD_PAGE_SELECT, IDC_SELECT_AUTO_CORRECTION, qv::kAutoPositionTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_THICKNESS, qv::kPaperThicknessTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_PRESSURE, qv::kPrintPressureTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_POSITION, qv::kPrintPositionTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_REDUCTION, qv::kReductionTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_COPY_POWER, qv::kCopyPowerTexts},
    {IDD_PAGE_SELECT, IDC_SELECT_FORM_LIST, qv::kFormNames},
    {IDD_PAGE_PARAM, IDC_PARAM_FONT1, qv::kFontNames},
    {IDD_PAGE_PARAM, IDC_PARAM_FONT2, qv::kFontNames},
    {IDD_PAGE_PARAM, IDC_PARAM_KANJI_TABLE, qv::kKanjiCodeTables},
    {IDD_PAGE_PARAM, IDC_PARAM_AGA_TIME, qv::kAgaRetryTimes},
    {IDD_PAGE_PARAM, IDC_PARAM_RETURN_TIME, qv::kAutoReturnTimes},
    {IDD_PAGE_PARAM, IDC_PARAM_LF_SHEET_GUIDE, qv::kLfPitchTexts},
    {IDD_PAGE_PARAM, IDC_PARAM_LF_SHEET_FEEDER, qv::kLfPitchTexts},
    {IDD_PAGE_PARAM, IDC_PARAM_LF_FRONT_TRACTOR, qv::kLfPitchTexts},
    {IDD_PAGE_PARAM, IDC_PARAM_LF_REAR_TRACTOR, qv::kLfPitchTexts},
    {IDD_PAGE_MSW1, IDC_MSW1_COUNTRY, qv::kCountryNames},
};
