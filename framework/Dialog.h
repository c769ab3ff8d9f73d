// Dialogs from .rc templates, run modally or created as child pages.
//
// Each class lists its handlers in its constructor: commands by id,
// control notifications by id and code, other messages by message. A plain
// command a child dialog does not handle is passed on to its parent, which
// is how a page's data-check command reaches the main window.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "Window.h"

class CDataExchange;

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal(HWND owner = nullptr);
    bool Create(HWND parent);  // as a child window (pages)
    void EndDialog(INT_PTR result);
    bool IsModalEnding() const { return ending_; }

    // Runs the modal loop's steps for every message already queued; tests
    // use it to feed keys through the same path as a user's.
    void PumpPendingMessages();

    // Moves data between controls and members; control notifications are
    // dropped meanwhile. False when a control held a value that was refused.
    bool UpdateData(bool saveAndValidate = true);
    bool IsExchanging() const { return exchanging_; }

    // Test seam: the next modal runs get these scripts, in order, once the
    // dialog is initialised. A script works the controls and ends the dialog.
    using ModalScript = std::function<void(CDialog&)>;
    static void QueueModalScript(ModalScript script);
    static void ClearModalScripts();

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange&) {}
    // Sees every message of a modal run before it is dispatched.
    virtual bool PreTranslateMessage(MSG&) { return false; }
    // Sees every WM_COMMAND before the maps; true when handled.
    virtual bool OnCommandMessage(UINT, UINT, HWND) { return false; }

    void MapCommand(UINT id, std::function<void()> fn) { commands_[id] = std::move(fn); }
    void MapNotify(UINT id, UINT code, std::function<void()> fn)
    {
        notifications_[{id, code}] = std::move(fn);
    }
    void MapMessage(UINT msg, std::function<std::optional<LRESULT>(WPARAM, LPARAM)> fn)
    {
        messages_[msg] = std::move(fn);
    }
    template <class T> void MapCommand(UINT id, void (T::*fn)())
    {
        commands_[id] = [this, fn] { (static_cast<T*>(this)->*fn)(); };
    }
    // Control notification (WM_COMMAND code or WM_NOTIFY code) from one control.
    template <class T> void MapNotify(UINT id, UINT code, void (T::*fn)())
    {
        notifications_[{id, code}] = [this, fn] { (static_cast<T*>(this)->*fn)(); };
    }
    // A handler returns its result, or nothing to let the default handling run.
    template <class T> void MapMessage(UINT msg, std::optional<LRESULT> (T::*fn)(WPARAM, LPARAM))
    {
        messages_[msg] = [this, fn](WPARAM w, LPARAM l) { return (static_cast<T*>(this)->*fn)(w, l); };
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void DispatchModalMessage(MSG& msg);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool RouteCommand(WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    bool exchanging_ = false;
    bool modal_ = false;
    bool ending_ = false;
    INT_PTR result_ = 0;
    std::map<UINT, std::function<void()>> commands_;
    std::map<std::pair<UINT, UINT>, std::function<void()>> notifications_;
    std::map<UINT, std::function<std::optional<LRESULT>(WPARAM, LPARAM)>> messages_;
};
