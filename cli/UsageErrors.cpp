#include "UsageErrors.h"

#include <algorithm>

#include "Files.h"
#include "HelpFormatter.h"
#include "NearestWord.h"
#include "Utf8.h"

namespace qv::cli {

namespace {

const CLI::App* ParsedVerb(const CLI::App& app)
{
    const auto verbs = app.get_subcommands([](const CLI::App* verb) { return verb->count() > 0; });
    return verbs.empty() ? nullptr : verbs.front();
}

std::string Quote(const std::string& word) { return "\"" + MessageText(word) + "\""; }

std::string DidYouMean(const std::string& word, const std::vector<std::string>& known)
{
    const auto near = NearestWord(word, std::vector<std::string_view>(known.begin(), known.end()));
    return near ? "（" + std::string(*near) + " のことですか？）" : "";
}

std::vector<std::string> VerbNames(const CLI::App& app)
{
    std::vector<std::string> names;
    for (const CLI::App* verb : app.get_subcommands({}))
        names.push_back(verb->get_name());
    return names;
}

std::string Joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

// The options of the verb and the global ones.
std::vector<const CLI::Option*> OptionsOf(const CLI::App& app, const CLI::App* verb)
{
    std::vector<const CLI::Option*> options = app.get_options();
    if (verb)
        for (const CLI::Option* option : verb->get_options())
            options.push_back(option);
    return options;
}

std::vector<std::string> OptionNames(const CLI::Option& option)
{
    std::vector<std::string> names;
    for (const std::string& name : option.get_lnames())
        names.push_back("--" + name);
    for (const std::string& name : option.get_snames())
        names.push_back("-" + name);
    if (names.empty())
        names.push_back(option.get_name(true, false));
    return names;
}

// "--output FILE", or "FILE" for an argument.
std::string Named(const CLI::Option& option)
{
    const std::string name = OptionNames(option).front();
    const std::string& type = option.get_type_name();
    return option.nonpositional() && !type.empty() ? name + " " + type : name;
}

// The option whose name the message of CLI11 mentions (the longest match).
const CLI::Option* Mentioned(const std::string& message, const std::vector<const CLI::Option*>& options)
{
    const CLI::Option* found = nullptr;
    std::size_t length = 0;
    for (const CLI::Option* option : options)
        for (const std::string& name : OptionNames(*option))
            if (name.size() > length && message.find(name) != std::string::npos) {
                found = option;
                length = name.size();
            }
    return found;
}

std::string WithoutVerb(const CLI::App& app, const std::vector<std::string>& extras)
{
    const std::string verbs = "使えるコマンド: " + Joined(VerbNames(app));
    const auto word = std::find_if(extras.begin(), extras.end(),
                                   [](const std::string& e) { return e.empty() || e[0] != '-' || e == "-"; });
    if (word != extras.end())
        return "知らないコマンド " + Quote(*word) + " です" + DidYouMean(*word, VerbNames(app)) + "。" +
               verbs;
    if (!extras.empty()) {
        std::vector<std::string> names;
        for (const CLI::Option* option : app.get_options())
            for (const std::string& name : OptionNames(*option))
                names.push_back(name);
        return "知らないオプション " + Quote(extras.front()) + " です" + DidYouMean(extras.front(), names) +
               "。";
    }
    return "コマンドを指定してください。" + verbs;
}

std::string Extra(const CLI::App& app, const CLI::App& verb, const std::string& extra)
{
    if (extra.size() > 1 && extra[0] == '-') {
        std::vector<std::string> names;
        for (const CLI::Option* option : OptionsOf(app, &verb))
            for (const std::string& name : OptionNames(*option))
                names.push_back(name);
        return "知らないオプション " + Quote(extra) + " です" + DidYouMean(extra, names) + "。";
    }
    return "余分な引数 " + Quote(extra) + " があります。";
}

std::string Refusal(const CLI::App& app, const CLI::App& verb, const CLI::ParseError& error)
{
    const std::string message = error.what();
    const auto options = OptionsOf(app, &verb);
    const CLI::Option* option = Mentioned(message, options);
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        for (const CLI::Option* o : options)
            if (o->get_required() && o->count() == 0)
                return Named(*o) + " を指定してください。";
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && option) {
        const std::string& type = option->get_type_name();
        return OptionNames(*option).front() + " の後に" + (type.empty() ? "値" : " " + type) +
               " を指定してください。";
    } else if (dynamic_cast<const CLI::ConversionError*>(&error) && option) {
        const std::size_t equals = message.find(" = ");
        const std::string value = equals == std::string::npos ? "" : Quote(message.substr(equals + 3)) + " ";
        return OptionNames(*option).front() + " の値 " + value + "を " + option->get_type_name() +
               " として読めません。";
    } else if (dynamic_cast<const CLI::ExcludesError*>(&error) && option) {
        return message.substr(0, message.find(' ')) + " と" + message.substr(message.find(" excludes ") + 9) +
               " は一緒に使えません。";
    } else if (dynamic_cast<const CLI::RequiresError*>(&error) && option) {
        return message.substr(0, message.find(' ')) + " には" +
               message.substr(message.find(" requires ") + 9) + " も指定してください。";
    } else if (dynamic_cast<const CLI::ValidationError*>(&error) && option) {
        return OptionNames(*option).front() + " の値が正しくありません（" + MessageText(message, 200) +
               "）。";
    }
    return "読み取れません（" + MessageText(message, 200) + "）。";
}

}  // namespace

bool HasExtras(const CLI::App& app) { return !app.remaining(true).empty(); }

int ReportUsageError(const CLI::App& app, const CLI::ParseError* error, ToolEnvironment& env)
{
    const std::vector<std::string> extras = app.remaining(true);
    const CLI::App* verb = ParsedVerb(app);
    const std::string sentence = !verb             ? WithoutVerb(app, extras)
                                 : !extras.empty() ? Extra(app, *verb, extras.front())
                                 : error           ? Refusal(app, *verb, *error)
                                                   : "読み取れません。";
    Complain(env, "コマンドラインが正しくありません: " + sentence);
    const auto formatter = std::dynamic_pointer_cast<HelpFormatter>(app.get_formatter());
    const CLI::App& shown = verb ? *verb : app;
    if (formatter)
        env.err << formatter->UsageLine(shown) << '\n';
    env.err << (verb ? "qvx4k5cmd " + verb->get_name() : std::string("qvx4k5cmd"))
            << " --help で詳しい使い方を表示します。\n";
    return kExitBadInput;
}

}  // namespace qv::cli
