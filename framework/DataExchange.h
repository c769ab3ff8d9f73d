// Dialog data exchange: members to controls and back, with the standard
// validation messages. The first refused value stops the exchange: the
// offending control gets the focus and later controls are not read.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}

    bool Saving() const { return save_; }
    bool Failed() const { return failed_; }
    // Skip the rest once a value was refused.
    bool Active() const { return !failed_; }
    HWND Control(int id) const { return ::GetDlgItem(dialog_, id); }
    HWND Dialog() const { return dialog_; }
    // Reports the message through the validation hook, focuses the control (selecting an edit box's text)
    // and stops the exchange.
    void Fail(int id, const std::wstring& message);

    // Remembered by DDX_Text so DDV_MinMaxInt knows which box to blame.
    int lastEditId = 0;

private:
    HWND dialog_;
    bool save_;
    bool failed_ = false;
};

// How a refused value is reported to the user; the application sets it
// (a message box with its own caption). Without one, a message box with the
// system's default caption is shown.
using DataValidateErrorFn = std::function<void(HWND dialog, const std::wstring& message)>;
void SetDataValidateErrorHandler(DataValidateErrorFn handler);

extern const wchar_t* const kParseIntMessage;        // "整数を入力してください。"
extern const wchar_t* const kRangeIntMessageFormat;  // "%1 から %2 までの整数を入力してください。"

// An integer edit box. An empty or non-numeric text is refused.
void DDX_Text(CDataExchange& dx, int id, int& value);
// Checks the value that DDX_Text just read.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
// A radio group from its first button: the index of the checked button in
// template order, -1 when none is checked.
void DDX_Radio(CDataExchange& dx, int firstId, int& index);
void DDX_Check(CDataExchange& dx, int id, int& state);
// A drop-down list by entry text (UTF-8); loading selects the entry whose
// text equals the value, or none.
void DDX_CBString(CDataExchange& dx, int id, std::string& text);

// A trackbar's position.
void DDX_Slider(CDataExchange& dx, int id, int& position);

// Parses a whole signed decimal integer with optional surrounding blanks.
bool ParseInt(const std::wstring& text, int& value);
