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

ConsoleWriter::int_type ConsoleWriter::overflow(int_type ch)
{
    if (ch != traits_type::eof()) {
        pending_ += static_cast<char>(ch);
        if (ch == '\n')
            Flush();
    }
    return traits_type::not_eof(ch);
}

std::streamsize ConsoleWriter::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.find('\n') != std::string::npos || pending_.size() > 4096)
        Flush();
    return count;
}

int ConsoleWriter::sync()
{
    Flush();
    return 0;
}

void ConsoleWriter::Flush()
{
    const std::size_t length = CompleteLength(pending_);
    if (length == 0 || !handle_ || handle_ == INVALID_HANDLE_VALUE)
        return;
    const std::string text = pending_.substr(0, length);
    pending_.erase(0, length);
    if (console_) {
        const std::wstring wide = Widen(text);
        DWORD written = 0;
        ::WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0)
        codePage = ::GetACP();  // no console at all: the system's code page
    const std::string bytes = utf8_ || codePage == CP_UTF8 ? text : InCodePage(Widen(text), codePage);
    DWORD written = 0;
    ::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
