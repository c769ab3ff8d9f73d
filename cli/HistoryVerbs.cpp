// history: the send journal, newest first and numbered as the panel numbers
// it; one record's settings shown or written as a settings file; and the
// settings last delivered to a printer as an input ("printer:NAME").
#include <CLI/CLI.hpp>

#include "Files.h"
#include "SendReport.h"
#include "TextTable.h"
#include "Verbs.h"

namespace qv::cli {

namespace {

constexpr std::string_view kPrinterPrefix = "printer:";

std::string ResultText(const JournalRecord& r)
{
    const std::string text = OutcomeText(r.result, r.reason);
    return BlockOf(r) ? text : text + " ［" + std::string(text::kRecordDamaged) + "］";
}

std::string WhoText(const JournalRecord& r)
{
    return r.computer.empty() && r.user.empty() ? "" : r.computer + "／" + r.user;
}

std::optional<SendJournal> OpenJournal(ToolEnvironment& env)
{
    if (!env.journal) {
        Complain(env, "この環境では送信履歴を使えません。");
        return std::nullopt;
    }
    return env.journal(std::nullopt);
}

// The listed records, newest first; none after a message.
std::optional<std::vector<JournalRecord>> Listed(const HistoryOptions& o, ToolEnvironment& env)
{
    if (!o.printer.empty() && o.allPrinters) {
        Complain(env, "--printer と --all-printers は同時に指定できません。");
        return std::nullopt;
    }
    const auto journal = OpenJournal(env);
    if (!journal)
        return std::nullopt;
    std::vector<JournalRecord> records;
    if (o.journal.empty()) {
        records = journal->Read();
    } else {
        const auto folder = PathFromUtf8(o.journal);
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) {
            Complain(env, "--journal " + o.journal + ": フォルダーが見つかりません。");
            return std::nullopt;
        }
        records = ReadJournalFolder(folder, journal->Steps());
    }
    return NewestFirst(std::move(records), o.printer.empty() ? std::nullopt : std::optional(o.printer));
}

Json RecordJson(const JournalRecord& r, std::size_t number)
{
    Json record{{"number", number}};
    record.update(Json::parse(JournalLine(r)));
    record["damaged"] = !BlockOf(r);
    return record;
}

int List(const HistoryOptions& o, const std::vector<JournalRecord>& records, ToolEnvironment& env)
{
    if (o.json) {
        Json list = Json::array();
        for (std::size_t i = 0; i < records.size(); ++i)
            list.push_back(RecordJson(records[i], i + 1));
        WriteJson(env, Json{{"records", list}});
        return kExitDone;
    }
    if (records.empty()) {
        env.out << "送信履歴はありません。\n";
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows{
        {"番号", "日時", "プリンタ", "結果", "コンピュータ／ユーザー"}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        const JournalRecord& r = records[i];
        rows.push_back({std::to_string(i + 1), LocalTimeText(r.time), r.printer, ResultText(r), WhoText(r)});
    }
    WriteTable(env.out, rows);
    return kExitDone;
}

// The settings of record `number`; none after a message.
std::optional<SettingsBlock> NumberedBlock(const HistoryOptions& o, const std::vector<JournalRecord>& records,
                                           ToolEnvironment& env)
{
    if (o.number < 1 || static_cast<std::size_t>(o.number) > records.size()) {
        Complain(env, "番号 " + std::to_string(o.number) + " の記録はありません（" +
                          (records.empty() ? std::string("送信履歴が空です")
                                           : "1 から " + std::to_string(records.size()) + " まで") +
                          "）。");
        return std::nullopt;
    }
    const auto block = BlockOf(records[o.number - 1]);
    if (!block)
        Complain(env, "番号 " + std::to_string(o.number) + " の記録は壊れているため、設定を取り出せません。");
    return block;
}

}  // namespace

void AddHistoryOptions(CLI::App* verb, HistoryOptions& o)
{
    verb->add_option("--printer", o.printer, "このプリンタへの送信だけ（省略するとすべてのプリンタ）")
        ->type_name("NAME");
    verb->add_flag("--all-printers", o.allPrinters, "すべてのプリンタへの送信（既定）");
    verb->add_flag("--json", o.json, "JSON で出力します");
    verb->add_option("--journal", o.journal,
                     "このフォルダーにある各コンピュータの送信履歴を読みます（ユーザーの送信履歴の代わりに）")
        ->type_name("FOLDER");
    const auto action = [verb, &o](const char* name, const char* description, HistoryOptions::Action a) {
        CLI::App* sub = verb->add_subcommand(name, description);
        sub->group("コマンド");
        sub->get_help_ptr()->group("オプション");
        sub->add_option("N", o.number, "一覧の番号（1 が最新）")->required()->type_name("");
        sub->callback([&o, a] { o.action = a; });
        return sub;
    };
    action("show", "その記録の設定を show と同じく表示します", HistoryOptions::Action::Show);
    action("export", "その記録の設定を設定ファイルに書き込みます", HistoryOptions::Action::Export)
        ->add_option("-o,--output", o.output, "作る設定ファイル")
        ->required()
        ->type_name("FILE");
}

int History(const HistoryOptions& o, ToolEnvironment& env)
{
    const auto records = Listed(o, env);
    if (!records)
        return kExitBadInput;
    if (o.action == HistoryOptions::Action::List)
        return List(o, *records, env);
    const auto block = NumberedBlock(o, *records, env);
    if (!block)
        return kExitBadInput;
    const JournalRecord& r = (*records)[o.number - 1];
    if (o.action == HistoryOptions::Action::Export)
        return ReportWrite(env.writeSettingsFile(PathFromUtf8(o.output), *block), o.output,
                           " に番号 " + std::to_string(o.number) + " の記録の設定を書き込みました。", env);
    if (!o.json)
        env.out << o.number << "  " << LocalTimeText(r.time) << "  " << r.printer << "  " << ResultText(r)
                << "  " << WhoText(r) << '\n';
    ShowSettings(*block, r.file ? Json(*r.file) : Json(nullptr), o.json, env);
    return kExitDone;
}

std::optional<std::string> JournalPrinterName(const std::string& name)
{
    if (name.rfind(kPrinterPrefix, 0) != 0)
        return std::nullopt;
    return name.substr(kPrinterPrefix.size());
}

SettingsInput DeliveredSettings(const std::string& printer, ToolEnvironment& env)
{
    SettingsInput input;
    input.size = kSettingsFileSize;
    if (!env.journal) {
        input.problem = "この環境では送信履歴を使えません。";
        return input;
    }
    const auto record = LastDelivered(env.journal(std::nullopt).Read(), printer);
    if (record)
        input.block = *BlockOf(*record);
    else
        input.problem = "送信履歴に、プリンタ \"" + printer +
                        "\" へ送信が完了した記録がありません（qvx4k5cmd history で確かめてください）。";
    return input;
}

}  // namespace qv::cli
