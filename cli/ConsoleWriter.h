// Standard output and error of the Windows tool. The tool writes UTF-8; a
// console gets it as wide text, so Japanese reads right whatever the code
// page; a redirected stream gets the console's code page, or UTF-8 as it is
// when asked (JSON, --utf8), or raw bytes (a settings file). A write that
// fails fails the stream and keeps the system's error code.
#pragma once

#include <windows.h>

#include <streambuf>
#include <string>

class ConsoleWriter : public std::streambuf {
public:
    explicit ConsoleWriter(DWORD standardHandle);
    ~ConsoleWriter() override;
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;

    // From now on a redirected stream carries UTF-8 unconverted.
    void UseUtf8();
    // From now on the stream carries bytes as they are; false for a console,
    // which shows text only.
    bool UseBinary();
    // GetLastError() of the first write that failed, 0 while all went well.
    DWORD Error() const { return error_; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool Flush();

    HANDLE handle_;
    bool console_;
    bool utf8_ = false;
    bool binary_ = false;
    DWORD error_ = 0;
    std::string pending_;
};
