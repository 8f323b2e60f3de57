// The progress window as a real window: its caption and bar, the commands it ignores, the
// messages its pump hands on, and what it does to the window that owns it.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "resources/setup/setup_dialog_ids.h"
#include "resources/setup/setup_strings.h"
#include "setup/ui/install_progress_dlg_win32.h"
#include "setup/ui/setup_dialogs_win32.h"
#include "tests/windows/dialog_driver.h"

namespace {

using setup::ui::CInstallProgressDlg;

// A plain top-level window of the test's own to own the progress window, and a child
// window of it; both destroyed with the test.
class OwnerWindows {
public:
    OwnerWindows()
        : top_(CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                               nullptr, nullptr, nullptr)),
          child_(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, top_, nullptr, nullptr,
                                 nullptr)) {}
    ~OwnerWindows() { DestroyWindow(top_); }
    OwnerWindows(const OwnerWindows&) = delete;
    OwnerWindows& operator=(const OwnerWindows&) = delete;
    HWND top() const { return top_; }
    HWND child() const { return child_; }

private:
    HWND top_;
    HWND child_;
};

// A progress window made from a template the program does not have: Create fails.
class UnmakeableProgress : public CInstallProgressDlg {
public:
    UnmakeableProgress() : CInstallProgressDlg(0, 9999) {}
};

LRESULT Position(const CInstallProgressDlg& progress) {
    return SendDlgItemMessageA(progress.GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
}

TEST(ProgressDialog, CaptionComesFromTheStringTable) {
    CInstallProgressDlg standard;
    ASSERT_TRUE(standard.Create(nullptr));
    EXPECT_EQ(wintest::TextOf(standard.GetSafeHwnd()), "Pagemill Setup");
    EXPECT_TRUE(IsWindowVisible(standard.GetSafeHwnd()));

    CInstallProgressDlg other(IDS_INSTALL_FAILED);
    ASSERT_TRUE(other.Create(nullptr));
    EXPECT_EQ(wintest::TextOf(other.GetSafeHwnd()), "Install %s failed.");
}

TEST(ProgressDialog, NineStepsOfOneOnARangeOfTenLeaveTheBarAtNine) {
    CInstallProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    // Before any range is set the bar has the window's own: 0 to 100.
    EXPECT_EQ(SendDlgItemMessageA(progress.GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0), 100);
    progress.SetStep(1);
    progress.SetRange(0, 10);
    progress.SetStatus("Setup is preparing...");
    for (int step = 0; step < 9; ++step) progress.StepIt();
    EXPECT_EQ(Position(progress), 9);
    EXPECT_EQ(SendDlgItemMessageA(progress.GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0), 10);
    EXPECT_EQ(wintest::ControlText(progress.GetSafeHwnd(), IDC_PROGRESS_STATUS), "Setup is preparing...");
}

TEST(ProgressDialog, OkCancelEscapeAndTheCloseBoxLeaveItOpen) {
    CInstallProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    const HWND window = progress.GetSafeHwnd();
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    wintest::PostKey(GetDlgItem(window, IDCANCEL), VK_ESCAPE);
    wintest::PostKey(GetDlgItem(window, IDCANCEL), VK_RETURN);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    progress.StepIt();  // handles all of them
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Position(progress), 10);  // the default step of 10 on 0 to 100
}

// The pump hands every waiting message of the thread on, whatever window it is for, and
// keeps a request to quit for the loop it belongs to.
TEST(ProgressDialog, StepItHandlesTheThreadsWaitingMessagesFirst) {
    OwnerWindows other;
    CInstallProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    PostMessageA(other.top(), WM_CLOSE, 0, 0);
    PostQuitMessage(3);
    progress.StepIt();
    EXPECT_FALSE(IsWindow(other.top())) << "the other window's message was not handled";
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(ProgressDialog, TheOwnerIsDisabledWhileItIsOpenAndEnabledOnceAfter) {
    OwnerWindows owner;
    // Given the owner itself or one of its child windows, the top-level window is the owner.
    for (const HWND parent : {owner.top(), owner.child()}) {
        EnableWindow(owner.top(), TRUE);
        {
            CInstallProgressDlg progress;
            ASSERT_TRUE(progress.Create(parent));
            EXPECT_EQ(GetWindow(progress.GetSafeHwnd(), GW_OWNER), owner.top());
            EXPECT_FALSE(IsWindowEnabled(owner.top()));
            progress.DestroyWindow();
            EXPECT_EQ(progress.GetSafeHwnd(), nullptr);
            EXPECT_TRUE(IsWindowEnabled(owner.top()));
            // Disabled again by someone else before the object goes.
            EnableWindow(owner.top(), FALSE);
        }
        EXPECT_FALSE(IsWindowEnabled(owner.top())) << "the owner was enabled a second time";
    }
}

TEST(ProgressDialog, AnOwnerThatWasDisabledStaysDisabled) {
    OwnerWindows owner;
    EnableWindow(owner.top(), FALSE);
    {
        CInstallProgressDlg progress;
        ASSERT_TRUE(progress.Create(owner.top()));
        progress.DestroyWindow();
        EXPECT_FALSE(IsWindowEnabled(owner.top()));
    }
    EXPECT_FALSE(IsWindowEnabled(owner.top()));
}

TEST(ProgressDialog, TheObjectGoingClosesTheWindowAndGivesTheOwnerBack) {
    OwnerWindows owner;
    HWND window = nullptr;
    {
        CInstallProgressDlg progress;
        ASSERT_TRUE(progress.Create(owner.top()));
        window = progress.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(owner.top()));
}

TEST(ProgressDialog, AFailedCreateGivesTheOwnerBack) {
    OwnerWindows owner;
    UnmakeableProgress progress;
    EXPECT_FALSE(progress.Create(owner.top()));
    EXPECT_EQ(progress.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.top()));
}

TEST(ProgressDialog, AWindowNeverMadeLeavesTheOwnerAlone) {
    OwnerWindows owner;
    EnableWindow(owner.top(), FALSE);
    { CInstallProgressDlg progress; }
    EXPECT_FALSE(IsWindowEnabled(owner.top()));
    EnableWindow(owner.top(), TRUE);
    { CInstallProgressDlg progress; }
    EXPECT_TRUE(IsWindowEnabled(owner.top()));
}

// As the installer opens it: Cancel disabled, 0 to 10 by 1, the status line set, painted.
TEST(ProgressDialog, TheInstallersProgressWindow) {
    setup::Win32SetupDialogs dialogs;
    std::unique_ptr<setup::InstallProgress> progress = dialogs.OpenProgress("Setup is preparing...");
    ASSERT_NE(progress, nullptr);
    const HWND window = wintest::FindThreadWindow("Pagemill Setup");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDCANCEL)));
    EXPECT_EQ(wintest::ControlText(window, IDC_PROGRESS_STATUS), "Setup is preparing...");
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE)) << "not painted yet";
    for (int step = 0; step < 9; ++step) progress->StepIt();
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0), 9);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0), 10);
    progress->Close();
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
