// The licence agreement as a real window: what it shows, where the focus and the caret
// are, and how each way of answering ends it.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <functional>
#include <optional>
#include <string>

#include "resources/setup/setup_dialog_ids.h"
#include "setup/ui/licence_agreement_dlg_win32.h"
#include "tests/windows/dialog_driver.h"
#include "tests/windows/scratch_folder.h"

namespace {

using setup::ui::CLicenceAgreementDlg;
using wintest::DialogScript;

constexpr const char* kTitle = "Software License Agreement";

// What the dialog showed when it came up.
struct Shown {
    std::string licence;
    std::string question;
    bool focusInText = false;
    DWORD selectionStart = 99;
    DWORD selectionEnd = 99;
    LRESULT firstVisibleLine = -1;
    LRESULT limit = 0;  // the most characters the control takes
};

Shown Look(HWND dialog) {
    Shown shown;
    const HWND text = GetDlgItem(dialog, IDC_LICENCE_TEXT);
    shown.licence = wintest::TextOf(text);
    shown.question = wintest::ControlText(dialog, IDC_LICENCE_QUESTION);
    shown.focusInText = GetFocus() == text;
    SendMessageA(text, EM_GETSEL, reinterpret_cast<WPARAM>(&shown.selectionStart),
                 reinterpret_cast<LPARAM>(&shown.selectionEnd));
    shown.firstVisibleLine = SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    shown.limit = SendMessageA(text, EM_GETLIMITTEXT, 0, 0);
    return shown;
}

// Runs the dialog over `licence` (none: no file), looks at it, then answers with `answer`.
INT_PTR RunAndAnswer(const std::optional<std::string>& licence, const std::function<void(HWND)>& answer,
                     Shown& shown, const std::string& question = "Do you accept?") {
    wintest::ScratchFolder folder("licence_dialog");
    if (licence) folder.WriteFile("LICENSE.TXT", *licence);
    CLicenceAgreementDlg dialog;
    dialog.questionText = question;
    dialog.licencePath = folder / "LICENSE.TXT";
    DialogScript script({[&] {
        const HWND window = wintest::FindThreadWindow(kTitle);
        ASSERT_NE(window, nullptr);
        shown = Look(window);
        answer(window);
    }});
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(script.finished());
    EXPECT_FALSE(script.rescued()) << "the dialog did not end by itself";
    return result;
}

void PressYes(HWND dialog) { wintest::Click(dialog, IDOK); }

std::string LongLicence(std::size_t lines) {
    std::string text;
    for (std::size_t line = 1; line <= lines; ++line) {
        text += "Line " + std::to_string(line) + " of the licence, with the text that a person reads.\r\n";
    }
    return text;
}

TEST(LicenceDialog, ShowsTheWholeTextAtItsStartWithNothingSelectedAndTheFocusInIt) {
    const std::string licence = LongLicence(200);  // far more than the view holds
    Shown shown;
    EXPECT_EQ(RunAndAnswer(licence, PressYes, shown), IDOK);
    EXPECT_EQ(shown.licence, licence);
    EXPECT_TRUE(shown.focusInText);
    EXPECT_EQ(shown.selectionStart, 0u);
    EXPECT_EQ(shown.selectionEnd, 0u);
    EXPECT_EQ(shown.firstVisibleLine, 0);
    EXPECT_EQ(shown.question, "Do you accept?");
}

TEST(LicenceDialog, PageDownScrollsTheTextFromTheStart) {
    wintest::ScratchFolder folder("licence_scroll");
    folder.WriteFile("LICENSE.TXT", LongLicence(200));
    CLicenceAgreementDlg dialog;
    dialog.licencePath = folder / "LICENSE.TXT";
    LRESULT before = -1;
    LRESULT after = -1;
    HWND text = nullptr;
    DialogScript script({[&] {
                             text = GetDlgItem(wintest::FindThreadWindow(kTitle), IDC_LICENCE_TEXT);
                             before = SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0);
                             wintest::PostKey(text, VK_NEXT);
                         },
                         [&] {
                             after = SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0);
                             wintest::PostKey(text, VK_ESCAPE);
                         }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(before, 0);
    EXPECT_GT(after, 0);
}

// The file as it comes: an empty one, none at all, one far beyond the edit control's
// first limit of 32K characters, and one whose lines end in LF alone (shown as it is).
TEST(LicenceDialog, ShowsEveryFileWholeAndStillAsksWithoutOne) {
    std::string large;
    const std::size_t eightMegabytes = 8 * 1024 * 1024;
    while (large.size() < eightMegabytes) large += LongLicence(100);
    large.resize(eightMegabytes);
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::string shown;
    } cases[] = {
        {"empty file", std::string(), ""},
        {"no file", std::nullopt, ""},
        {"8 MB file", large, large},
        {"LF line ends", std::string("first\nsecond\n"), "first\nsecond\n"},
    };
    for (const auto& c : cases) {
        Shown shown;
        EXPECT_EQ(RunAndAnswer(c.file, PressYes, shown), IDOK) << c.name;
        EXPECT_EQ(shown.licence.size(), c.shown.size()) << c.name;
        EXPECT_TRUE(shown.licence == c.shown) << c.name;
        // Raised to the file's size: the text shows whole under Wine even without, so only
        // the limit tells.
        EXPECT_GE(static_cast<std::size_t>(shown.limit), c.shown.size()) << c.name;
        EXPECT_TRUE(shown.focusInText) << c.name;
        EXPECT_EQ(shown.question, "Do you accept?") << c.name;
    }
}

TEST(LicenceDialog, OnlyYesAccepts) {
    const struct {
        const char* name;
        std::function<void(HWND)> answer;
        INT_PTR result;
    } cases[] = {
        {"Yes", PressYes, IDOK},
        {"Enter on the text", [](HWND d) { wintest::PostKey(GetDlgItem(d, IDC_LICENCE_TEXT), VK_RETURN); }, IDOK},
        {"No", [](HWND d) { wintest::Click(d, IDCANCEL); }, IDCANCEL},
        {"Escape", [](HWND d) { wintest::PostKey(GetDlgItem(d, IDC_LICENCE_TEXT), VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        Shown shown;
        EXPECT_EQ(RunAndAnswer(std::string("terms\r\n"), c.answer, shown), c.result) << c.name;
    }
}

TEST(LicenceDialog, AnEmptyQuestionLeavesTheQuestionLineEmpty) {
    Shown shown;
    ASSERT_EQ(RunAndAnswer(std::string("terms"), PressYes, shown, ""), IDOK);
    EXPECT_EQ(shown.question, "");
}

TEST(LicenceDialog, TheProgramIconStandsForTheMinimisedDialog) {
    const HICON programIcon = LoadIconA(GetModuleHandleA(nullptr), setup::ui::ResourceName(IDI_SETUP));
    ASSERT_NE(programIcon, nullptr);
    CLicenceAgreementDlg dialog;
    LRESULT dragIcon = 0;
    BOOL minimised = FALSE;
    DialogScript script({[&] {
                             const HWND window = wintest::FindThreadWindow(kTitle);
                             dragIcon = SendMessageA(window, WM_QUERYDRAGICON, 0, 0);
                             ShowWindow(window, SW_MINIMIZE);
                         },
                         [&] {
                             // Painted while minimised (the icon in the middle), then closed.
                             const HWND window = dialog.GetSafeHwnd();
                             minimised = IsIconic(window);
                             RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                             SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                         }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(reinterpret_cast<HICON>(dragIcon), programIcon);
    EXPECT_TRUE(minimised);
}

}  // namespace
