// What the send history and change review commands of the main window read
// and write: the journal's record of a send, and the bases the panel's
// values can be compared with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PanelStatusBar.h"
#include "SettingsCompareDlg.h"
#include "core/SendJournal.h"

// The record of one send of `block` to `printer` on `port` by the panel;
// `file` is the settings file last loaded or saved, if any.
qv::JournalRecord PanelSendRecord(const std::wstring& printer, const std::wstring& port,
                                  const qv::SettingsBlock& block, const qv::SendOutcome& outcome,
                                  const std::optional<std::wstring>& file);

// Appends that record to the journal. A journal that cannot be written
// stops nothing: `bar` names it in the printer's place until a record is
// written again.
void RecordPanelSend(CPanelStatusBar& bar, const std::wstring& printer, const std::wstring& port,
                     const qv::SettingsBlock& block, const qv::SendOutcome& outcome,
                     const std::optional<std::wstring>& file);

// The bases of 変更点の確認, the default first: the last record delivered to
// `printer` (when the journal has one), the settings file last loaded or
// saved as it is now (when it still reads), and the factory settings.
std::vector<CompareBase> ReviewBases(const std::wstring& printer,
                                     const std::optional<std::wstring>& lastFile);
