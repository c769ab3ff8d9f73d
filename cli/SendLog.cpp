#include "SendLog.h"

#include <filesystem>
#include <system_error>

#include "Files.h"

namespace qv::cli {

namespace fs = std::filesystem;

std::optional<std::string> SendLog::Open(const std::string& path, bool tryOnly)
{
    const fs::path file = PathFromUtf8(path);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::directory)
        return "フォルダーです";
    const bool existed = fs::exists(status);
    file_.open(file, std::ios::binary | std::ios::app);
    if (!file_)
        return existed ? "書き込みのアクセス許可がないか、ほかのプログラムが使っています"
                       : "作れません（フォルダーがないか、書き込みのアクセス許可がありません）";
    if (tryOnly) {
        file_.close();
        if (!existed)
            fs::remove(file, ec);
    }
    return std::nullopt;
}

bool SendLog::Append(const std::string& line)
{
    file_ << line << '\n';
    file_.flush();
    return static_cast<bool>(file_);
}

}  // namespace qv::cli
