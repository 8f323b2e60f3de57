// The three dialog templates, twice: as the program's resources hold them (ids, classes,
// texts, places and sizes in dialog units, styles, font, title, plain or extended), and as
// the dialog manager builds them (each control's class, the icon, the dialog's font, tab
// order and place on the screen).
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "resources/setup/setup_dialog_ids.h"
#include "setup/ui/destination_folder_dlg_win32.h"
#include "setup/ui/install_progress_dlg_win32.h"
#include "setup/ui/licence_agreement_dlg_win32.h"
#include "tests/windows/dialog_driver.h"

namespace {

struct ControlLayout {
    int id;
    const char* windowClass;
    const char* text;  // "#128": the resource with that number (an icon)
    int x, y, width, height;
    DWORD style;
};

struct DialogLayout {
    UINT templateId;
    bool extended;
    const char* title;
    int width, height;
    DWORD style;
    DWORD extendedStyle;
    std::vector<ControlLayout> controls;
    std::vector<int> tabStops;  // in tab order
};

// Every control is a visible child; every dialog has the font its template names.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDialog = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const DialogLayout kLicence = {
    IDD_LICENCE_AGREEMENT, true, "Software License Agreement", 306, 242, kDialog | WS_VISIBLE, WS_EX_APPWINDOW,
    {
        {IDCANCEL, "Button", "&No", 247, 219, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {IDOK, "Button", "&Yes", 196, 219, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDC_LICENCE_TEXT, "Edit", "", 9, 38, 288, 152,
         kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
        {IDC_LICENCE_QUESTION, "Static",
         "Do you accept all the terms of the preceding License Agreement? If you choose No, Setup will close. To "
         "install Quillet, you must accept this agreement.",
         9, 195, 288, 23, kChild | SS_LEFT | WS_GROUP},
        {-1, "Static", "#128", 9, 9, 21, 20, kChild | SS_ICON},
        {-1, "Static",
         "Please read the following License Agreement. Press the PAGE DOWN key to see the rest of the agreement.",
         39, 10, 258, 18, kChild | SS_LEFT | WS_GROUP},
    },
    {IDCANCEL, IDOK, IDC_LICENCE_TEXT},
};

const DialogLayout kDestination = {
    IDD_DESTINATION_FOLDER, false, "Choose Destination Location", 282, 68, kDialog, 0,
    {
        {IDOK, "Button", "OK", 85, 47, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, "Button", "Cancel", 138, 47, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {-1, "Button", "Destination Folder", 7, 7, 268, 37, kChild | BS_GROUPBOX},
        {IDC_DESTINATION_FOLDER, "Edit", "", 13, 22, 212, 14, kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_BROWSE, "Button", "Browse...", 231, 22, 38, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    },
    {IDOK, IDCANCEL, IDC_DESTINATION_FOLDER, IDC_BROWSE},
};

const DialogLayout kProgress = {
    IDD_INSTALL_PROGRESS, false, "", 186, 61, kDialog | WS_VISIBLE, 0,
    {
        {IDCANCEL, "Button", "Cancel", 68, 40, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDC_PROGRESS_BAR, "msctls_progress32", "Progress1", 14, 19, 154, 13, kChild | WS_BORDER},
        {IDC_PROGRESS_STATUS, "Static", "", 13, 7, 158, 8, kChild | SS_LEFT | WS_GROUP},
    },
    {IDCANCEL},
};

// ---- the template as the resources hold it ------------------------------------------------

struct TemplateControl {
    DWORD style = 0;
    DWORD id = 0;
    short x = 0, y = 0, width = 0, height = 0;
    std::string windowClass;
    std::string text;
};

struct Template {
    bool extended = false;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    short width = 0, height = 0;
    std::string title;
    WORD pointSize = 0;
    std::string font;
    std::vector<TemplateControl> controls;
};

// Reads the words of a dialog template (DLGTEMPLATE or DLGTEMPLATEEX and their items).
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* at) : at_(at) {}

    WORD Word() { return Take<WORD>(); }
    DWORD DoubleWord() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    // A string or a number: "#n" for a number, "" for none.
    std::string NameOrNumber() {
        WORD first = 0;
        std::memcpy(&first, at_, sizeof(first));
        if (first == 0xFFFF) {
            at_ += sizeof(WORD);
            std::string number = "#";
            number += std::to_string(Word());
            return number;
        }
        return String();
    }
    std::string String() {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word()) text += static_cast<char>(c);  // the texts here are ASCII
        return text;
    }
    void Skip(std::size_t bytes) { at_ += bytes; }
    void AlignToDoubleWord() {
        while (reinterpret_cast<ULONG_PTR>(at_) % 4 != 0) ++at_;
    }

private:
    template <class T>
    T Take() {
        T value{};
        std::memcpy(&value, at_, sizeof(value));
        at_ += sizeof(value);
        return value;
    }
    const BYTE* at_;
};

std::string ClassName(const std::string& nameOrNumber) {
    static const char* const kPredefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (nameOrNumber.size() > 1 && nameOrNumber[0] == '#') {
        const long number = std::strtol(nameOrNumber.c_str() + 1, nullptr, 10);
        if (number >= 0x80 && number <= 0x85) return kPredefined[number - 0x80];
    }
    return nameOrNumber;
}

std::optional<Template> ReadTemplate(UINT id) {
    const HMODULE program = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(program, setup::ui::ResourceName(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (found == nullptr) return std::nullopt;
    const HGLOBAL loaded = LoadResource(program, found);
    if (loaded == nullptr) return std::nullopt;
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    TemplateReader read(bytes);
    Template dialog;
    dialog.extended = read.Word() == 1 && read.Word() == 0xFFFF;
    WORD count = 0;
    if (dialog.extended) {
        read.Skip(sizeof(DWORD));  // help id
        dialog.extendedStyle = read.DoubleWord();
        dialog.style = read.DoubleWord();
    } else {
        read = TemplateReader(bytes);
        dialog.style = read.DoubleWord();
        dialog.extendedStyle = read.DoubleWord();
    }
    count = read.Word();
    read.Short();  // x and y: where the dialog opens, 0 for all three
    read.Short();
    dialog.width = read.Short();
    dialog.height = read.Short();
    read.NameOrNumber();  // menu
    read.NameOrNumber();  // class
    dialog.title = read.String();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = read.Word();
        if (dialog.extended) read.Skip(sizeof(WORD) + 2);  // weight, italic, character set
        dialog.font = read.String();
    }
    for (WORD i = 0; i < count; ++i) {
        read.AlignToDoubleWord();
        TemplateControl control;
        if (dialog.extended) {
            read.Skip(sizeof(DWORD) * 2);  // help id, extended style
            control.style = read.DoubleWord();
        } else {
            control.style = read.DoubleWord();
            read.Skip(sizeof(DWORD));  // extended style
        }
        control.x = read.Short();
        control.y = read.Short();
        control.width = read.Short();
        control.height = read.Short();
        control.id = dialog.extended ? read.DoubleWord() : read.Word();
        control.windowClass = ClassName(read.NameOrNumber());
        control.text = read.NameOrNumber();
        read.Skip(read.Word());  // creation data
        dialog.controls.push_back(control);
    }
    return dialog;
}

void ExpectTemplate(const DialogLayout& layout) {
    SCOPED_TRACE("template " + std::to_string(layout.templateId));
    const auto dialog = ReadTemplate(layout.templateId);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->extended, layout.extended);
    EXPECT_EQ(dialog->style, layout.style);
    EXPECT_EQ(dialog->extendedStyle, layout.extendedStyle);
    EXPECT_EQ(dialog->width, layout.width);
    EXPECT_EQ(dialog->height, layout.height);
    EXPECT_EQ(dialog->title, layout.title);
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->font, "MS Sans Serif");
    ASSERT_EQ(dialog->controls.size(), layout.controls.size());
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlLayout& expected = layout.controls[i];
        const TemplateControl& control = dialog->controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(expected.id));
        const DWORD idBits = dialog->extended ? 0xFFFFFFFFu : 0xFFFFu;
        EXPECT_EQ(control.id, static_cast<DWORD>(expected.id) & idBits);
        // Class names are matched without regard to case; windres stores a named class in
        // capitals, the resource compiler of Visual Studio as written.
        EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, control.windowClass.c_str(), -1,
                                 expected.windowClass, -1),
                  CSTR_EQUAL)
            << control.windowClass;
        EXPECT_EQ(control.text, expected.text);
        EXPECT_EQ(control.x, expected.x);
        EXPECT_EQ(control.y, expected.y);
        EXPECT_EQ(control.width, expected.width);
        EXPECT_EQ(control.height, expected.height);
        EXPECT_EQ(control.style, expected.style) << std::hex << control.style << " " << expected.style;
    }
}

// ---- the dialog as the dialog manager builds it --------------------------------------------

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, static_cast<int>(sizeof(name)));
    return name;
}

void ExpectBuilt(HWND dialog, const DialogLayout& layout) {
    ASSERT_NE(dialog, nullptr);
    SCOPED_TRACE("dialog " + std::to_string(layout.templateId));
    EXPECT_EQ((GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0, layout.extendedStyle == WS_EX_APPWINDOW);

    LOGFONTA font{};
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    ASSERT_NE(GetObjectA(dialogFont, sizeof(font), &font), 0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    // The controls in template order, which is the order of the dialog's child windows.
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlLayout& expected : layout.controls) {
        ASSERT_NE(control, nullptr) << "missing control " << expected.id;
        SCOPED_TRACE("control " + std::to_string(expected.id) + " " + expected.windowClass);
        EXPECT_EQ(ClassOf(control), expected.windowClass);
        if ((expected.style & SS_TYPEMASK) == SS_ICON && std::strcmp(expected.windowClass, "Static") == 0) {
            EXPECT_NE(SendMessageA(control, STM_GETICON, 0, 0), 0) << "no icon shown";
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "more controls than the template has";

    std::vector<int> tabOrder;
    HWND stop = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (std::size_t i = 0; stop != nullptr && i < layout.tabStops.size(); ++i) {
        tabOrder.push_back(GetDlgCtrlID(stop));
        stop = GetNextDlgTabItem(dialog, stop, FALSE);
    }
    EXPECT_EQ(tabOrder, layout.tabStops);
}

template <class ModalDialog>
void ExpectBuiltModal(ModalDialog& dialog, const DialogLayout& layout) {
    wintest::DialogScript script({[&] {
        ExpectBuilt(wintest::FindThreadWindow(layout.title), layout);
        SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.finished());
}

TEST(DialogLayout, LicenceAgreementTemplate102) {
    ExpectTemplate(kLicence);
    setup::ui::CLicenceAgreementDlg dialog;
    ExpectBuiltModal(dialog, kLicence);
}

TEST(DialogLayout, DestinationFolderTemplate132) {
    ExpectTemplate(kDestination);
    setup::ui::CDestinationFolderDlg dialog;
    ExpectBuiltModal(dialog, kDestination);
}

TEST(DialogLayout, ProgressTemplate135) {
    ExpectTemplate(kProgress);
    setup::ui::CInstallProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    ExpectBuilt(progress.GetSafeHwnd(), kProgress);
}

// Placed in the middle of the screen's work area, as the framework places its dialogs.
TEST(DialogLayout, DialogsOpenInTheMiddleOfTheScreen) {
    RECT workArea{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
    setup::ui::CInstallProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    RECT place{};
    GetWindowRect(progress.GetSafeHwnd(), &place);
    EXPECT_LE(std::abs((place.left + place.right) - (workArea.left + workArea.right)), 1);
    EXPECT_LE(std::abs((place.top + place.bottom) - (workArea.top + workArea.bottom)), 1);
}

}  // namespace
