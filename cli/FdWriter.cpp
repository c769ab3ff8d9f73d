#include "FdWriter.h"

#include <unistd.h>

#include <cerrno>

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

}  // namespace

FdWriter::int_type FdWriter::overflow(int_type ch)
{
    if (ch == traits_type::eof())
        return Flush() ? traits_type::not_eof(ch) : traits_type::eof();
    pending_ += static_cast<char>(ch);
    return pending_.size() < kBufferSize || Flush() ? ch : traits_type::eof();
}

std::streamsize FdWriter::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    return pending_.size() < kBufferSize || Flush() ? count : 0;
}

int FdWriter::sync() { return Flush() ? 0 : -1; }

bool FdWriter::Flush()
{
    std::size_t done = 0;
    while (error_ == 0 && done < pending_.size()) {
        const ssize_t n = ::write(fd_, pending_.data() + done, pending_.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            error_ = errno;
    }
    pending_.clear();
    return error_ == 0;
}
