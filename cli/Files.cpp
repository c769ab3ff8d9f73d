#include "Files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Utf8.h"
#include "core/SettingsCheck.h"
#include "core/SharedTexts.h"
#include "core/SettingsFile.h"

namespace qv::cli {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

#ifdef _WIN32
int LastSystemError() { return static_cast<int>(::GetLastError()); }
void ClearSystemError() { ::SetLastError(0); }
std::string SystemReason(int code)
{
    if (code == 0)
        return "";
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = length ? ToUtf8(std::wstring_view(text, length)) : "エラー " + std::to_string(code);
    ::LocalFree(text);
    reason.erase(reason.find_last_not_of(" \r\n") + 1);
    return reason;
}
#else
int LastSystemError() { return errno; }
void ClearSystemError() { errno = 0; }
std::string SystemReason(int code) { return code == 0 ? "" : std::strerror(code); }
#endif

std::string WithReason(const std::string& sentence, int code)
{
    const std::string reason = SystemReason(code);
    return reason.empty() ? sentence + "。" : sentence + ": " + reason;
}

FileBytes ReadFileBytes(const fs::path& path, std::size_t limit)
{
    FileBytes result;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        result.problem = "フォルダーです。";
        return result;
    }
    ClearSystemError();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = LastSystemError();
        const fs::file_status status = fs::status(path, ec);
        result.problem = WithReason(status.type() == fs::file_type::not_found
                                        ? "ファイルが見つかりません"
                                        : "開けません（読み取りのアクセス許可がない可能性があります）",
                                    error);
        return result;
    }
    result.bytes.resize(limit);
    in.read(reinterpret_cast<char*>(result.bytes.data()), static_cast<std::streamsize>(limit));
    result.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        result.problem = WithReason("読み込みに失敗しました", LastSystemError());
        return result;
    }
    const auto size = fs::file_size(path, ec);
    result.size = ec ? result.bytes.size() : size;
    return result;
}

// Standard input as a file: "-" names it, once in a run.
FileBytes ReadInput(const std::string& name, std::size_t limit, ToolEnvironment& env)
{
    if (name != "-")
        return ReadFileBytes(PathFromUtf8(name), limit);
    FileBytes result;
    if (env.inTaken) {
        result.problem = "標準入力 (-) は 1 回の実行で一つの入力にしか使えません。";
        return result;
    }
    env.inTaken = true;
    if (!env.in) {
        result.problem = "標準入力が端末です。ファイルをリダイレクトするか、パイプでつないでください。";
        return result;
    }
    result.bytes.resize(limit);
    env.in->read(reinterpret_cast<char*>(result.bytes.data()), static_cast<std::streamsize>(limit));
    result.bytes.resize(static_cast<std::size_t>(env.in->gcount()));
    result.size = result.bytes.size();
    if (!env.in->bad() && result.size == limit) {
        env.in->ignore(std::numeric_limits<std::streamsize>::max());
        result.size += static_cast<std::uintmax_t>(env.in->gcount());
    }
    if (env.in->bad())
        result.problem = WithReason("標準入力を読み込めません", LastSystemError());
    return result;
}

std::string InputName(const std::string& name) { return name == "-" ? "標準入力" : name; }

SettingsInput ReadSettingsInput(const std::string& name, ToolEnvironment& env)
{
    if (const auto printer = JournalPrinterName(name))
        return DeliveredSettings(*printer, env);
    SettingsInput input;
    const FileBytes file = ReadInput(name, kSettingsFileSize, env);
    input.size = file.size;
    if (file.problem) {
        input.problem = "読み込めません。" + *file.problem;
        return input;
    }
    switch (DiagnoseSettingsFile(file.bytes)) {
    case FileProblem::WrongHeader:
        input.problem = std::string(text::kNotSettingsFile) +
                        ": 先頭が設定ファイルの識別子 \"Kestrolinea 418KQ5\" ではありません。";
        break;
    case FileProblem::TooShort:
        input.problem = std::string(text::kNotSettingsFile) + ": " + std::to_string(file.size) +
                        " バイトしかありません（" + std::to_string(kSettingsFileSize) + " バイト必要です）。";
        break;
    case FileProblem::None: DecodeSettingsFile(file.bytes, input.block); break;
    }
    return input;
}

std::optional<SettingsBlock> LoadSettingsInput(const std::string& name, ToolEnvironment& env)
{
    const SettingsInput input = ReadSettingsInput(name, env);
    if (input.problem) {
        Complain(env, InputName(name) + ": " + *input.problem);
        return std::nullopt;
    }
    return input.block;
}

int ReportWrite(FileWriteResult result, const std::string& name, const std::string& done,
                ToolEnvironment& env)
{
    const int error = LastSystemError();
    if (result == FileWriteResult::Ok) {
        ReportStream(env) << name << done << '\n';
        return kExitDone;
    }
    const std::string sentence = result == FileWriteResult::AccessDenied
                                     ? "書き込みのアクセス許可がありません"
                                     : std::string(text::kWriteFailed) +
                                           "（フォルダーや装置の名前でないか、空き容量を確かめてください）";
    Complain(env, WithReason(name + ": " + sentence, error));
    return kExitBadInput;
}

namespace {

// Standard output for "-o -": the bytes as they are, never to a terminal
// when they are a binary settings file.
int WriteStandardOutput(std::span<const std::uint8_t> bytes, bool binary, ToolEnvironment& env)
{
    if (binary && env.useBinaryOutput && !env.useBinaryOutput()) {
        Complain(env,
                 "標準出力が端末のため、設定ファイルは書き出しません。ファイルへリダイレクトしてください。");
        return kExitBadInput;
    }
    if (!binary && env.useUtf8Output)
        env.useUtf8Output();
    env.out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return kExitDone;
}

}  // namespace

int WriteSettingsOutput(const std::string& name, const SettingsBlock& block, const std::string& done,
                        ToolEnvironment& env)
{
    if (name == "-")
        return WriteStandardOutput(EncodeSettingsFile(block), true, env);
    ClearSystemError();
    return ReportWrite(env.writeSettingsFile(PathFromUtf8(name), block), name, done, env);
}

int WriteTextOutput(const std::string& name, const std::string& text, const std::string& done,
                    ToolEnvironment& env)
{
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (name.empty() || name == "-")
        return WriteStandardOutput(bytes, false, env);
    ClearSystemError();
    return ReportWrite(env.writeFile(PathFromUtf8(name), bytes), name, done, env);
}

std::ostream& ReportStream(ToolEnvironment& env)
{
    static std::ostream nowhere(nullptr);
    return env.quiet ? nowhere : env.out;
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
