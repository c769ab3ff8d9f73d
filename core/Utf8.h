// UTF-8, the text encoding of the core and of the files it reads and writes.
#pragma once

#include <string>

namespace qv {

// Appends the UTF-8 form of code point `cp` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace qv
