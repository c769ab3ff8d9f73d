// Standard output of the Linux tool: a stream buffer over a file descriptor
// that keeps the errno of a write that failed (a full disk, a reader that
// went away), which the C library's streams forget.
#pragma once

#include <streambuf>
#include <string>

class FdWriter : public std::streambuf {
public:
    explicit FdWriter(int fd) : fd_(fd) {}
    ~FdWriter() override { Flush(); }
    FdWriter(const FdWriter&) = delete;
    FdWriter& operator=(const FdWriter&) = delete;

    // The errno of the first failed write, 0 while all went well.
    int Error() const { return error_; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool Flush();

    int fd_;
    int error_ = 0;
    std::string pending_;
};
