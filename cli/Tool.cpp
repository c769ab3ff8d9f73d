#include "Tool.h"

#include <CLI/CLI.hpp>

#include "Files.h"
#include "HelpFormatter.h"
#include "UsageErrors.h"
#include "Verbs.h"
#include "version.h"

namespace qv::cli {

namespace {

constexpr const char* kExitCodes =
    "終了コード:\n"
    "  0  完了（send: すべての送信先に届いた）\n"
    "  1  diff: 違う設定がある / check: 読み込みで直される設定や警告がある\n"
    "  2  コマンドラインの誤り、設定ファイルでない入力や誤りのある JSON、書き込めない出力\n"
    "  3  指定したプリンタが見つからないか、送信できるプリンタではない\n"
    "  4  送信に失敗した送信先がある、または送信ログに書き込めない\n"
    "  5  失敗はないが、キューで待機中または未確認の送信がある";

// As the About box shows it: "qvx4k5cmd 2.000".
constexpr const char* kVersion = "qvx4k5cmd " QV_VERSION_TEXT;

CLI::App* Verb(CLI::App& app, const char* name, const char* description)
{
    CLI::App* verb = app.add_subcommand(name, description);
    verb->group("コマンド");
    verb->get_help_ptr()->group("オプション");
    // Words left over are reported with the verb's usage, not CLI11's text.
    verb->allow_extras();
    return verb;
}

CLI::Option* FileArgument(CLI::App* verb, const char* name, std::string& into, const char* description)
{
    return verb->add_option(name, into, description)->required()->type_name("");
}

int RunParsed(const std::vector<std::string>& args, ToolEnvironment& env)
{
    CLI::App app("Tav Kestrolinea 418KQ5 の設定ファイル (.dat) とプリンタをコマンドラインで扱います。",
                 "qvx4k5cmd");
    app.formatter(std::make_shared<HelpFormatter>());
    app.option_defaults()->group("オプション");
    app.set_help_flag("-h,--help", "使い方を表示します");
    app.require_subcommand(1, 1);
    app.fallthrough();
    app.allow_extras();
    app.footer(kExitCodes);
    app.set_version_flag("--version", kVersion, "版を表示します");
    bool utf8 = false;
    app.add_flag("--utf8", utf8,
                 "リダイレクトした出力も UTF-8 で書きます（既定はコンソールのコード ページ）");
    app.add_flag("-q,--quiet", env.quiet, "エラーだけを表示します（JSON と -o - の出力は書きます）");

    ShowOptions show;
    CLI::App* showVerb =
        Verb(app, "show", "設定ファイルを読み込んだパネルが表示する設定と値をすべて表示します");
    FileArgument(showVerb, "FILE", show.file, "設定ファイル（- は標準入力）");
    showVerb->add_flag("--json", show.json, "JSON で出力します");

    DiffOptions diff;
    CLI::App* diffVerb = Verb(app, "diff", "二つの設定ファイルで違う設定を 1 行に 1 つ表示します");
    FileArgument(diffVerb, "FILE1", diff.first, "設定ファイル（- は標準入力）");
    FileArgument(diffVerb, "FILE2", diff.second, "比べる設定ファイル（- は標準入力）");
    diffVerb->add_flag("--json", diff.json, "JSON で出力します");

    ExportOptions exportOptions;
    CLI::App* exportVerb = Verb(app, "export", "設定ファイルの設定を JSON で書き出します");
    FileArgument(exportVerb, "FILE", exportOptions.file, "設定ファイル（- は標準入力）");
    exportVerb
        ->add_option("-o,--output", exportOptions.output, "書き出す JSON ファイル（省略または - で標準出力）")
        ->type_name("FILE");

    ImportOptions import;
    CLI::App* importVerb = Verb(app, "import", "JSON の設定から設定ファイルを作ります");
    FileArgument(importVerb, "JSON", import.json,
                 "export と同じ形の JSON ファイル（UTF-8 か UTF-16、- は標準入力）");
    importVerb->add_option("-o,--output", import.output, "作る設定ファイル（- は標準出力）")
        ->required()
        ->type_name("FILE");
    importVerb
        ->add_option("--base", import.base,
                     "JSON にない設定と枠をこの設定ファイルから取ります（省略すると工場出荷設定）")
        ->type_name("FILE");

    CheckOptions check;
    CLI::App* checkVerb =
        Verb(app, "check", "設定ファイルを調べ、読み込みで直される設定や工場出荷時と違う枠を報告します");
    checkVerb->add_option("FILE", check.files, "設定ファイル（いくつでも、- は標準入力）")
        ->required()
        ->type_name("FILE");
    checkVerb->add_flag("--json", check.json, "JSON で出力します");

    FactoryOptions factory;
    CLI::App* factoryVerb = Verb(app, "factory", "工場出荷設定の設定ファイルを作ります");
    factoryVerb->add_option("-o,--output", factory.output, "作る設定ファイル（- は標準出力）")
        ->required()
        ->type_name("FILE");

    PrintersOptions printers;
    CLI::App* printersVerb = nullptr;
    if (env.spooler) {
        printersVerb = Verb(app, "printers",
                            "パネルのプリンタの選択と同じ規則と順で、送信先にできるプリンタを表示します");
        printersVerb->add_flag("--json", printers.json, "JSON で出力します");
    }

    SendOptions send;
    CLI::App* sendVerb =
        Verb(app, "send", "設定ファイルをパネルと同じく読み込み、その 270 バイトを送信します");
    FileArgument(sendVerb, "FILE", send.file, "設定ファイル");
    // Targets of every kind may be mixed; Send says so when the line has none.
    const char* targets = "送信先（組み合わせ可、それぞれ何度でも）";
    if (env.spooler) {
        sendVerb->add_option("--printer", send.printers, "このプリンタへ（\\\\サーバー\\プリンタ も可）")
            ->type_name("NAME")
            ->allow_extra_args(false)
            ->group(targets);
        sendVerb->add_flag("--all", send.all, "送信先にできるすべてのプリンタへ")->group(targets);
    }
    sendVerb
        ->add_option("--host", send.hosts, "ネットワーク プリンタの RAW ポートへ直接（既定のポートは 9100）")
        ->type_name("HOST[:PORT]")
        ->allow_extra_args(false)
        ->group(targets);
    sendVerb
        ->add_option("--hosts", send.hostLists,
                     "1 行に 1 つ HOST[:PORT] を書いたファイルのホストへ（# から行末は注釈、- は標準入力）")
        ->type_name("FILE")
        ->allow_extra_args(false)
        ->group(targets);
    sendVerb->add_flag("--dry-run", send.dryRun, "何をどこへ送るかを表示するだけで、送信しません");
    sendVerb->add_option("--log", send.log, "送信先ごとに 1 行の JSON を追記します")->type_name("FILE");
    sendVerb
        ->add_option("--journal", send.journal,
                     "送信履歴をこのフォルダーの <コンピュータ名>.jsonl にも記録します")
        ->type_name("FOLDER");
    sendVerb
        ->add_option(
            "--timeout", send.timeoutSeconds,
            "--host の名前解決と接続、書き込みと受け取りの確認のそれぞれの制限時間（1 から 600 秒、既定 10）")
        ->type_name("SECONDS");
    sendVerb
        ->add_option("--wait", send.waitSeconds,
                     "プリンタのキューでジョブが終わるのを待つ時間（0 から 600 秒、既定 10、0 は待たない）")
        ->type_name("SECONDS");
    sendVerb->add_option("--jobs", send.jobs, "同時に送信する送信先の数（1 から 64、既定 8）")
        ->type_name("N");
    sendVerb->add_flag("--json", send.json, "結果を JSON で出力します");

    HistoryOptions history;
    CLI::App* historyVerb = Verb(app, "history", "送信履歴を新しい順に番号を付けて表示します（1 が最新）");
    AddHistoryOptions(historyVerb, history);

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(e, env.out, env.err);
            return kExitDone;
        }
        return ReportUsageError(app, &e, env);
    }
    if (HasExtras(app))
        return ReportUsageError(app, nullptr, env);

    if (utf8) {
        if (env.useUtf8Output)
            env.useUtf8Output();
        if (env.useUtf8Errors)
            env.useUtf8Errors();
    }
    if (showVerb->parsed())
        return Show(show, env);
    if (diffVerb->parsed())
        return Diff(diff, env);
    if (exportVerb->parsed())
        return Export(exportOptions, env);
    if (importVerb->parsed())
        return Import(import, env);
    if (checkVerb->parsed())
        return Check(check, env);
    if (factoryVerb->parsed())
        return Factory(factory, env);
    if (historyVerb->parsed())
        return History(history, env);
    if (printersVerb && printersVerb->parsed())
        return Printers(printers, env);
    return Send(send, env);
}

// Output that never reached its reader (a full disk, a closed pipe) turns
// any outcome into a failure.
int Finished(int code, ToolEnvironment& env)
{
    env.out.flush();
    if (env.out)
        return code;
    Complain(env, WithReason("標準出力に書き込めませんでした",
                             env.outputError ? env.outputError() : LastSystemError()));
    return std::max(code, static_cast<int>(kExitBadInput));
}

}  // namespace

int RunTool(const std::vector<std::string>& args, ToolEnvironment& env)
{
    int code = kExitBadInput;
    try {
        code = RunParsed(args, env);
    } catch (const std::exception& e) {
        Complain(env, std::string("予期しないエラーです: ") + e.what());
    } catch (...) {
        Complain(env, "予期しないエラーです。");
    }
    return Finished(code, env);
}

}  // namespace qv::cli
