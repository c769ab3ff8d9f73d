// The panel's help file: which one this Windows reads, where it lies, and
// the calls that open and close its viewer.
#pragma once

#include <string>

#include <windows.h>

class CHelpViewer {
public:
    // Looks for the help file beside the program; false when it is missing.
    bool Locate();
    // Opens the contents; false when no viewer could show the file.
    bool ShowContents() const;
    // Closes the viewers this program opened.
    void CloseAll(HWND owner) const;

    const std::wstring& Path() const { return path_; }
    bool IsHtml() const { return isHtml_; }

private:
    // HtmlHelpW with no owner, or nothing when the viewer is missing.
    static HWND CallHtmlHelp(const wchar_t* path, UINT command);

    bool isHtml_ = true;
    std::wstring path_;
};
