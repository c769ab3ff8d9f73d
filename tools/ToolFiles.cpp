#include "ToolFiles.h"

#include <fstream>
#include <sstream>

namespace qv::help {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in)
        return std::nullopt;
    return text.str();
}

std::string WriteReplacing(const std::filesystem::path& path, std::string_view text)
{
    const std::filesystem::path partial = path.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            return "cannot write " + partial.string();
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error)
        return "cannot write " + path.string() + ": " + error.message();
    return "";
}

}  // namespace qv::help
