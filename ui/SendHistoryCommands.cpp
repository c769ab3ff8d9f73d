#include "SendHistoryCommands.h"

#include <filesystem>

#include "JournalAccess.h"
#include "core/Sha256.h"
#include "core/PrinterDiscovery.h"
#include "core/SettingsFile.h"
#include "framework/Text.h"
#include "resource.h"
#include "version.h"

qv::JournalRecord PanelSendRecord(const std::wstring& printer, const std::wstring& port,
                                  const qv::SettingsBlock& block, const qv::SendOutcome& outcome,
                                  const std::optional<std::wstring>& file)
{
    qv::JournalRecord record;
    record.program = "qvx4k5";
    record.version = std::to_string(QV_VERSION_MAJOR) + "." + std::to_string(QV_VERSION_MINOR) + "." +
                     std::to_string(QV_VERSION_PATCH);
    record.printer = Narrow(printer);
    if (const auto server = qv::ServerOf(printer))
        record.server = Narrow(*server);
    record.port = Narrow(port);
    record.route = "spooler";
    record.result = outcome.delivery;
    record.reason = outcome.reason;
    record.job = outcome.job;
    record.sha256 = qv::Sha256Hex(block);
    record.block = qv::BlockHex(block);
    if (file) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*file, error);
        record.file = Narrow(error ? *file : absolute.wstring());
    }
    return record;
}

void RecordPanelSend(CPanelStatusBar& bar, const std::wstring& printer, const std::wstring& port,
                     const qv::SettingsBlock& block, const qv::SendOutcome& outcome,
                     const std::optional<std::wstring>& file)
{
    std::string problem;
    if (CurrentJournal().Append(PanelSendRecord(printer, port, block, outcome, file), problem))
        bar.SetTexts(printer, port);
    else
        bar.SetNote(LoadResString(IDS_JOURNAL_FAILED));
}

std::vector<CompareBase> ReviewBases(const std::wstring& printer, const std::optional<std::wstring>& lastFile)
{
    std::vector<CompareBase> bases;
    if (const auto last = qv::LastDelivered(CurrentJournal().Read(), Narrow(printer)))
        if (const auto block = qv::BlockOf(*last))
            bases.push_back({FormatResString(IDS_BASE_LAST_DELIVERED, Widen(qv::LocalTimeText(last->time))),
                             qv::LoadAsPanel(*block).values});
    qv::SettingsBlock stored{};
    if (lastFile && qv::ReadSettingsFile(*lastFile, stored) == qv::FileReadResult::Ok)
        bases.push_back(
            {FormatResString(IDS_BASE_LAST_FILE, std::filesystem::path(*lastFile).filename().wstring()),
             qv::LoadAsPanel(stored).values});
    bases.push_back({LoadResString(IDS_BASE_FACTORY), qv::StartupPanelValues()});
    return bases;
}
