#include "PosixJournal.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

namespace qv::cli {

namespace fs = std::filesystem;

namespace {

// A rotation by another writer between our open and our lock sends us round again.
constexpr int kOpenAttempts = 4;

class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool Fail(std::string& problem, int error)
{
    problem = std::strerror(error);
    return false;
}

bool WriteAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool Append(const fs::path& file, std::string_view line, std::string& problem)
{
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);  // a failure shows at the open
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const UniqueFd fd(::open(file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            return Fail(problem, errno);
        while (::flock(fd.get(), LOCK_EX) != 0)
            if (errno != EINTR)
                return Fail(problem, errno);
        struct stat held {
        }, named{};
        if (::fstat(fd.get(), &held) != 0)
            return Fail(problem, errno);
        if (::stat(file.c_str(), &named) != 0 || !SameFile(held, named))
            continue;  // renamed away while we waited for the lock
        if (JournalNeedsRotation(static_cast<std::uintmax_t>(held.st_size), line.size()) &&
            ::rename(file.c_str(), RotatedJournal(file).c_str()) == 0)
            continue;  // the next round starts the new file
        std::optional<char> last;
        char byte = 0;
        if (held.st_size > 0 && ::pread(fd.get(), &byte, 1, held.st_size - 1) == 1)
            last = byte;
        errno = 0;
        if (WriteAll(fd.get(), AppendedText(line, last)))
            return true;
        const int error = errno ? errno : EIO;
        // No half record stays behind for the next writer.
        [[maybe_unused]] const int cut = ::ftruncate(fd.get(), held.st_size);
        return Fail(problem, error);
    }
    problem = "ほかのプログラムがファイルを置き換え続けています";
    return false;
}

std::optional<std::string> Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string HostName()
{
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
}

const struct passwd* Account() { return ::getpwuid(::geteuid()); }

std::string UserName()
{
    const struct passwd* account = Account();
    return account && account->pw_name ? account->pw_name : "";
}

fs::path StateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute())
        return state;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const struct passwd* account = Account();
        home = account ? account->pw_dir : nullptr;
    }
    return home ? fs::path(home) / ".local" / "state" : fs::path();
}

}  // namespace

JournalSteps PosixJournalSteps()
{
    return {Append, Read, HostName, UserName, [] { return UtcTimestamp(std::chrono::system_clock::now()); }};
}

JournalPlaces PosixJournalPlaces(const std::optional<fs::path>& extraFolder)
{
    const fs::path state = StateFolder();
    return PlacesFor(state.empty() ? fs::path() : state / "qvx4k5" / "sends.jsonl", HostName(),
                     {extraFolder});
}

}  // namespace qv::cli
