// Number edit boxes that suit a Japanese keyboard: full-width digits count
// as digits and show as ASCII ones, the IME stays off while such a box has
// the focus, and a value the program corrects is left selected, so the next
// digit typed replaces it.
#pragma once

#include <string>

#include <windows.h>

// Makes `box` a number box for the rest of its life.
void AttachNumberBox(HWND box);

// Puts a corrected value into the box; a box with the focus gets it selected.
void SetCorrectedNumber(HWND box, const std::wstring& text);

// The text in a clipboard block up to its first zero: another program's
// text need not end in one, so never past the block's end.
std::wstring ClipboardBlockText(HANDLE block);

// The text with every full-width digit (U+FF10 to U+FF19) made an ASCII one.
std::wstring ToAsciiDigits(std::wstring text);
