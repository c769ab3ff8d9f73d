#include "Files.h"

#include <fstream>
#include <system_error>

#include "core/SettingsCheck.h"
#include "core/SettingsFile.h"

namespace qv::cli {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

FileBytes ReadFileBytes(const fs::path& path, std::size_t limit)
{
    FileBytes result;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        result.problem = "ファイルが見つかりません";
        return result;
    }
    if (status.type() == fs::file_type::directory) {
        result.problem = "フォルダーです";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.problem = "開けません（読み取りのアクセス許可がない可能性があります）";
        return result;
    }
    result.bytes.resize(limit);
    in.read(reinterpret_cast<char*>(result.bytes.data()), static_cast<std::streamsize>(limit));
    result.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        result.problem = "読み込みに失敗しました";
        return result;
    }
    const auto size = fs::file_size(path, ec);
    result.size = ec ? result.bytes.size() : size;
    return result;
}

SettingsInput ReadSettingsInput(const std::string& name, ToolEnvironment& env)
{
    if (const auto printer = JournalPrinterName(name))
        return DeliveredSettings(*printer, env);
    SettingsInput input;
    const FileBytes file = ReadFileBytes(PathFromUtf8(name), kSettingsFileSize);
    input.size = file.size;
    if (file.problem)
        input.problem = "読み込めません: " + *file.problem;
    else
        switch (DiagnoseSettingsFile(file.bytes)) {
        case FileProblem::WrongHeader:
            input.problem = "先頭が設定ファイルの識別子 \"Kestrolinea 418KQ5\" ではありません";
            break;
        case FileProblem::TooShort:
            input.problem = std::to_string(file.size) + " バイトしかありません（" +
                            std::to_string(kSettingsFileSize) + " バイト必要です）";
            break;
        case FileProblem::None: DecodeSettingsFile(file.bytes, input.block); break;
        }
    if (input.problem)
        input.problem = "設定ファイルではありません（" + *input.problem + "）。";
    return input;
}

std::optional<SettingsBlock> LoadSettingsInput(const std::string& name, ToolEnvironment& env)
{
    const SettingsInput input = ReadSettingsInput(name, env);
    if (input.problem) {
        Complain(env, name + ": " + *input.problem);
        return std::nullopt;
    }
    return input.block;
}

int ReportWrite(FileWriteResult result, const std::string& name, const std::string& done,
                ToolEnvironment& env)
{
    if (result == FileWriteResult::Ok) {
        env.out << name << done << '\n';
        return kExitDone;
    }
    Complain(
        env,
        name +
            (result == FileWriteResult::AccessDenied
                 ? ": 書き込みのアクセス許可がありません。"
                 : ": "
                   "書き込みに失敗しました（フォルダーや装置の名前でないか、空き容量を確かめてください）。"));
    return kExitBadInput;
}

void Complain(ToolEnvironment& env, const std::string& message)
{
    env.err << "qvx4k5cmd: " << message << '\n';
}

std::string BytesText(const std::vector<std::uint8_t>& bytes, bool raw)
{
    bool printable = !raw;
    for (const std::uint8_t b : bytes)
        printable = printable && b >= 0x20 && b < 0x7F && b != '"';
    if (printable) {
        std::string text(1, '"');
        text.append(bytes.begin(), bytes.end());
        return text + '"';
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += "0x";
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
}

}  // namespace qv::cli
