// The framework's dialog object and its window.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "TestSupport.h"
#include "framework/Dialog.h"
#include "resource.h"

namespace {

// Counts the messages its window sends while it goes away.
class CountingDialog : public CDialog {
public:
    explicit CountingDialog(int& destroyMessages) : CDialog(IDD_ABOUTBOX), destroyMessages_(destroyMessages)
    {
        MapMessage(WM_DESTROY, &CountingDialog::OnDestroy);
    }

private:
    std::optional<LRESULT> OnDestroy(WPARAM, LPARAM)
    {
        ++destroyMessages_;
        return std::nullopt;
    }
    int& destroyMessages_;
};

TEST(DialogLifetime, AnObjectDestroyedBeforeItsWindowRunsNoHandlerOfIt)
{
    int destroyMessages = 0;
    auto dialog = std::make_unique<CountingDialog>(destroyMessages);
    ASSERT_TRUE(dialog->Create(nullptr));
    const HWND window = dialog->m_hWnd;
    ASSERT_TRUE(::IsWindow(window));

    dialog.reset();
    EXPECT_FALSE(::IsWindow(window)) << "the window goes with its object";
    EXPECT_EQ(destroyMessages, 0) << "its WM_DESTROY reached an object being destroyed";
}

TEST(DialogLifetime, AWindowDestroyedFirstStillReachesItsHandlers)
{
    int destroyMessages = 0;
    CountingDialog dialog(destroyMessages);
    ASSERT_TRUE(dialog.Create(nullptr));
    ::DestroyWindow(dialog.m_hWnd);
    EXPECT_EQ(destroyMessages, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

}  // namespace
