#include "ConsoleWriter.h"

#include "framework/Text.h"

namespace {

// Length of the longest prefix that ends on a whole UTF-8 sequence.
std::size_t CompleteLength(const std::string& text)
{
    std::size_t end = text.size();
    std::size_t back = 0;
    while (back < 4 && back < end && (static_cast<unsigned char>(text[end - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back < end) {
        const auto lead = static_cast<unsigned char>(text[end - 1 - back]);
        const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (need > back + 1)
            return end - 1 - back;
    }
    return end;
}

std::string InCodePage(const std::wstring& wide, UINT codePage)
{
    const int size = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                              nullptr, nullptr);
    return bytes;
}

// Writes the whole text with `write` (WriteFile, or WriteConsoleW counting
// characters); the system's error code when a part does not go out, else 0.
template <class Char, class Write> DWORD WriteAll(const std::basic_string<Char>& text, Write write)
{
    for (std::size_t done = 0; done < text.size();) {
        DWORD written = 0;
        if (!write(text.data() + done, static_cast<DWORD>(text.size() - done), &written) || written == 0)
            return ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
        done += written;
    }
    return 0;
}

}  // namespace

ConsoleWriter::ConsoleWriter(DWORD standardHandle) : handle_(::GetStdHandle(standardHandle))
{
    DWORD mode = 0;
    console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
}

ConsoleWriter::~ConsoleWriter() { Flush(); }

void ConsoleWriter::UseUtf8()
{
    Flush();
    utf8_ = true;
}

bool ConsoleWriter::UseBinary()
{
    Flush();
    binary_ = !console_;
    return binary_;
}

ConsoleWriter::int_type ConsoleWriter::overflow(int_type ch)
{
    if (ch == traits_type::eof())
        return Flush() ? traits_type::not_eof(ch) : traits_type::eof();
    pending_ += static_cast<char>(ch);
    return ch != '\n' || Flush() ? ch : traits_type::eof();
}

std::streamsize ConsoleWriter::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.find('\n') != std::string::npos || pending_.size() > 4096)
        return Flush() ? count : 0;
    return count;
}

int ConsoleWriter::sync() { return Flush() ? 0 : -1; }

bool ConsoleWriter::Flush()
{
    // Text is written in whole characters; bytes as they come.
    const std::size_t length = binary_ ? pending_.size() : CompleteLength(pending_);
    if (length == 0 || !handle_ || handle_ == INVALID_HANDLE_VALUE)
        return error_ == 0;
    const std::string text = pending_.substr(0, length);
    pending_.erase(0, length);
    if (error_ != 0)
        return false;  // what follows a lost part would mislead
    if (console_) {
        error_ = WriteAll(Widen(text), [this](const wchar_t* part, DWORD count, DWORD* written) {
            return ::WriteConsoleW(handle_, part, count, written, nullptr);
        });
        return error_ == 0;
    }
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0)
        codePage = ::GetACP();  // no console at all: the system's code page
    const std::string bytes =
        binary_ || utf8_ || codePage == CP_UTF8 ? text : InCodePage(Widen(text), codePage);
    error_ = WriteAll(bytes, [this](const char* part, DWORD count, DWORD* written) {
        return ::WriteFile(handle_, part, count, written, nullptr);
    });
    return error_ == 0;
}
