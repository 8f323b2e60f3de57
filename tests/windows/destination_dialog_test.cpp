// The destination folder dialog as a real window: what OK takes and refuses, what Cancel
// keeps, and where the folder browser opens.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <functional>
#include <string>

#include "resources/setup/setup_dialog_ids.h"
#include "setup/ui/destination_folder_dlg_win32.h"
#include "tests/windows/dialog_driver.h"

namespace {

using setup::ui::CDestinationFolderDlg;
using wintest::DialogScript;

constexpr const char* kTitle = "Choose Destination Location";
constexpr const char* kProposed = "C:\\Program Files\\Quillet";

HWND Dialog() { return wintest::FindThreadWindow(kTitle); }

void Type(const std::string& text) {
    SetDlgItemTextA(Dialog(), IDC_DESTINATION_FOLDER, text.c_str());
}

// The window the dialog has opened over itself (its message box, the folder browser).
HWND ShownOver(HWND dialog) {
    const HWND active = GetActiveWindow();
    return active != dialog && GetWindow(active, GW_OWNER) == dialog ? active : nullptr;
}

TEST(DestinationDialog, ShowsTheProposedFolderAndOkTakesWhatIsInTheField) {
    const struct {
        const char* name;
        std::string typed;  // empty: left as proposed
        std::string taken;
    } cases[] = {
        {"as proposed", "", kProposed},
        {"typed over", "D:\\Tools\\PDF\\", "D:\\Tools\\PDF\\"},
        {"a single blank", " ", " "},  // only an empty field is refused
        {"not a path at all", "Quillet", "Quillet"},
    };
    for (const auto& c : cases) {
        CDestinationFolderDlg dialog;
        dialog.folder = kProposed;
        std::string shown;
        DialogScript script({[&] {
            shown = wintest::ControlText(Dialog(), IDC_DESTINATION_FOLDER);
            if (!c.typed.empty()) Type(c.typed);
            wintest::Click(Dialog(), IDOK);
        }});
        EXPECT_EQ(dialog.DoModal(), IDOK) << c.name;
        EXPECT_FALSE(script.rescued()) << c.name;
        EXPECT_EQ(shown, kProposed) << c.name;
        EXPECT_EQ(dialog.folder, c.taken) << c.name;
    }
}

TEST(DestinationDialog, AnEmptyFieldIsRefusedWithAMessageAndTheDialogStays) {
    CDestinationFolderDlg dialog;
    dialog.folder = kProposed;
    std::string boxText;
    std::string boxCaption;
    bool stillShown = false;
    DialogScript script({[&] {
                             Type("");
                             wintest::Click(Dialog(), IDOK);
                         },
                         [&] {
                             // The box is up, owned by the dialog, which waits behind it; its
                             // caption is the program's title, as the framework's box has.
                             const HWND box = ShownOver(Dialog());
                             ASSERT_NE(box, nullptr);
                             boxCaption = wintest::TextOf(box);
                             boxText = wintest::ControlText(box, 0xFFFF);
                             wintest::Click(box, IDOK);
                         },
                         [&] {
                             stillShown = Dialog() != nullptr && IsWindowEnabled(Dialog());
                             Type("E:\\Later");
                             wintest::Click(Dialog(), IDOK);
                         }});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(script.rescued());
    EXPECT_EQ(boxText, "Please enter a destination folder.");
    EXPECT_EQ(boxCaption, "windows_tests");
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(dialog.folder, "E:\\Later");
}

TEST(DestinationDialog, CancelEscapeAndTheCloseBoxKeepTheFolderAsItWasSet) {
    const struct {
        const char* name;
        std::function<void(HWND)> cancel;
    } cases[] = {
        {"Cancel", [](HWND d) { wintest::Click(d, IDCANCEL); }},
        {"Escape", [](HWND d) { wintest::PostKey(GetDlgItem(d, IDC_DESTINATION_FOLDER), VK_ESCAPE); }},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& c : cases) {
        CDestinationFolderDlg dialog;
        dialog.folder = kProposed;
        DialogScript script({[&] {
            Type("D:\\Typed but not taken");
            c.cancel(Dialog());
        }});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << c.name;
        EXPECT_FALSE(script.rescued()) << c.name;
        EXPECT_EQ(dialog.folder, kProposed) << c.name;
    }
}

TEST(DestinationDialog, BrowseOpensAtTheFolderLastSetKeepsTheOneChosenAndCancellingChangesNothing) {
    char windowsFolder[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windowsFolder, MAX_PATH), 0u);
    char systemFolder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(systemFolder, MAX_PATH), 0u);
    const struct {
        const char* name;
        int browserButton;
        std::string chosen;  // selected in the browser before its button; empty: none
        std::string field;   // after the browser has closed
        std::string stored;  // the dialog's folder then, where a further Browse opens
    } cases[] = {
        // OK at once takes the folder the browser opened at: the one set before, not the
        // one typed since.
        {"OK in the browser", IDOK, "", windowsFolder, windowsFolder},
        {"another folder chosen", IDOK, systemFolder, systemFolder, systemFolder},
        {"Cancel in the browser", IDCANCEL, systemFolder, "D:\\Typed", windowsFolder},
    };
    for (const auto& c : cases) {
        CDestinationFolderDlg dialog;
        dialog.folder = windowsFolder;
        std::string field;
        std::string stored;
        bool browserShown = false;
        DialogScript script({[&] {
                                 Type("D:\\Typed");
                                 wintest::Click(Dialog(), IDC_BROWSE);
                             },
                             [&] {
                                 const HWND browser = ShownOver(Dialog());
                                 browserShown = browser != nullptr;
                                 if (browser == nullptr) return;
                                 if (!c.chosen.empty()) {
                                     SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(c.chosen.c_str()));
                                 }
                                 PostMessageA(browser, WM_COMMAND, static_cast<WPARAM>(c.browserButton), 0);
                             },
                             [&] {
                                 field = wintest::ControlText(Dialog(), IDC_DESTINATION_FOLDER);
                                 stored = dialog.folder;
                                 wintest::Click(Dialog(), IDCANCEL);
                             }});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << c.name;
        EXPECT_FALSE(script.rescued()) << c.name;
        EXPECT_TRUE(browserShown) << c.name;
        EXPECT_EQ(field, c.field) << c.name;
        EXPECT_EQ(stored, c.stored) << c.name;
    }
}

}  // namespace
