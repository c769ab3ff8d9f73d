// A thin typed handle over an HWND, with the few calls the program makes.
#pragma once

#include <string>

#include <windows.h>

class CWindow {
public:
    HWND m_hWnd = nullptr;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, w, l);
    }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, msg, w, l);
    }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void ShowWindow(int cmd) const { ::ShowWindow(m_hWnd, cmd); }
    void EnableDlgItem(int id, bool enable) const { ::EnableWindow(GetDlgItem(id), enable); }

    static std::wstring GetWindowText(HWND hwnd);
    std::wstring GetWindowText() const { return GetWindowText(m_hWnd); }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetDlgItemText(int id) const { return GetWindowText(GetDlgItem(id)); }
    void SetDlgItemText(int id, const std::wstring& text) const
    {
        ::SetDlgItemTextW(m_hWnd, id, text.c_str());
    }
    // Sends a plain command (no control handle) to this window.
    void SendCommand(UINT id) const { SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
};
