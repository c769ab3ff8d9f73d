// The send log of --log: one JSON line per target, appended. It is opened
// and tried before anything is sent, and a line that cannot be written is
// reported, never passed over.
#pragma once

#include <fstream>
#include <optional>
#include <string>

namespace qv::cli {

class SendLog {
public:
    // Opens `path` for appending; with `tryOnly` (a dry run) it is only
    // tried and left as it was (a file made for the try is removed). Why
    // not, or nothing.
    std::optional<std::string> Open(const std::string& path, bool tryOnly);
    bool IsOpen() const { return file_.is_open(); }
    // One line with its line break, flushed; false when it did not reach the file.
    bool Append(const std::string& line);

private:
    std::ofstream file_;
};

}  // namespace qv::cli
