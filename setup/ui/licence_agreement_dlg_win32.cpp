#include "setup/ui/licence_agreement_dlg_win32.h"

#include <new>
#include <stdexcept>

#include "platform/win32/unique_handles.h"
#include "resources/setup/setup_dialog_ids.h"

namespace setup::ui {
namespace {

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), context_(BeginPaint(window, &paint_)) {}
    ~PaintScope() {
        if (context_ != nullptr) (void)EndPaint(window_, &paint_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC context() const { return context_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC context_;
};

}  // namespace

std::optional<std::string> ReadLicenceFile(const std::string& path) {
    const platform::win32::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    DWORD high = 0;
    const DWORD length = GetFileSize(file.get(), &high);
    if (length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    if (high != 0) return std::nullopt;  // 4 GB and more: more than the program can hold
    std::string bytes;
    try {
        bytes.resize(length);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
    DWORD read = 0;
    if (length != 0 && !ReadFile(file.get(), bytes.data(), length, &read, nullptr)) return std::nullopt;
    // The text ends after the bytes read, should the file have shrunk since its length was taken.
    bytes.resize(read);
    return bytes;
}

CLicenceAgreementDlg::CLicenceAgreementDlg(HWND parent)
    : Dialog(IDD_LICENCE_AGREEMENT, parent),
      icon_(LoadIconA(GetModuleHandleA(nullptr), ResourceName(IDI_SETUP))) {}

void CLicenceAgreementDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Control(IDC_LICENCE_TEXT, licenceText_);
    exchange.Text(IDC_LICENCE_QUESTION, questionText);
}

BOOL CLicenceAgreementDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    if (licenceText_ == nullptr) return TRUE;  // no text control: the dialog manager places the focus
    // A licence that cannot be read leaves the text empty; the question is still asked.
    if (const auto text = ReadLicenceFile(licencePath)) ShowLicence(*text);
    // The focus in the text, so that PAGE DOWN scrolls it; FALSE keeps it there.
    (void)SetFocus(licenceText_);
    return FALSE;
}

void CLicenceAgreementDlg::ShowLicence(const std::string& text) {
    // An edit control takes 32K characters unless told otherwise: the limit is raised to
    // the whole file first (0 asks for the largest the control has).
    (void)SendMessageA(licenceText_, EM_SETLIMITTEXT, text.size(), 0);
    // The bytes as they are: text of the system's code page, line ends unchanged. Should
    // the control refuse the text, it stays empty and the question is still asked.
    (void)SetWindowTextA(licenceText_, text.c_str());
    // Nothing selected, the caret at the start of the text and in view.
    (void)SendMessageA(licenceText_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    (void)SendMessageA(licenceText_, EM_SCROLLCARET, 0, 0);
}

bool CLicenceAgreementDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    switch (message) {
    case WM_PAINT:
        result = TRUE;
        return OnPaint();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(icon_);
        return true;
    default:
        return false;
    }
}

// A minimised dialog shows the program's icon, centred in its client area; otherwise the
// dialog manager paints it.
bool CLicenceAgreementDlg::OnPaint() {
    const HWND window = GetSafeHwnd();
    if (!IsIconic(window)) return false;
    const PaintScope paint(window);
    if (paint.context() == nullptr) return true;
    (void)SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.context()), 0);
    RECT client{};
    if (!GetClientRect(window, &client)) return true;
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    if (icon_ != nullptr) (void)DrawIcon(paint.context(), x, y, icon_);
    return true;
}

}  // namespace setup::ui
