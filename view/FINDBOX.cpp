// The find box: a modeless dialog from the resources. Its text is read and
// written in UTF-16, as it is compared with the decoded text of the file.
#include "view/FINDBOX.h"

#include "base/RESSTR.h"
#include "resources/RESOURCE.h"

#include <algorithm>

CLSFindBox::~CLSFindBox()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
}

void CLSFindBox::Show(HWND owner)
{
    const std::u16string selected = m_view.SelectedQuery();
    if (!selected.empty()) {
        m_text = selected;
    }
    if (m_hWnd == nullptr) {
        // A Unicode dialog: its combo box keeps what is typed or pasted as
        // UTF-16, so text outside Shift-JIS reaches the search intact.
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIND), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
        if (m_hWnd == nullptr) {
            return;
        }
        ShowWindow(m_hWnd, SW_SHOW);
    } else if (!selected.empty()) {
        SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT, reinterpret_cast<const WCHAR*>(m_text.c_str()));
        OnTextChanged();
    }
    SetActiveWindow(m_hWnd);
    HWND hWndText = GetDlgItem(m_hWnd, IDC_FIND_TEXT);
    SetFocus(hWndText);
    SendMessageA(hWndText, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CLSFindBox::FindAgain(HWND owner, bool forward)
{
    if (m_text.empty()) {
        Show(owner);
        return;
    }
    Search(m_text, forward);
}

bool CLSFindBox::PreTranslate(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && m_view.IsFinding()) {
        m_view.CancelFind();
        return true;
    }
    if (m_hWnd == nullptr || (msg->hwnd != m_hWnd && !IsChild(m_hWnd, msg->hwnd))) {
        return false;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F3) {
        OnFind(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return IsDialogMessageW(m_hWnd, msg) != 0;
}

INT_PTR CALLBACK CLSFindBox::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (uMsg == WM_INITDIALOG) {
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        auto* box = reinterpret_cast<CLSFindBox*>(lParam);
        box->m_hWnd = hDlg;
        box->OnInitDialog();
        return TRUE;
    }
    auto* box = reinterpret_cast<CLSFindBox*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (box == nullptr) {
        return FALSE;
    }
    if (uMsg == WM_NCDESTROY) {
        box->m_hWnd = nullptr;
        return FALSE;
    }
    return box->OnMessage(uMsg, wParam);
}

INT_PTR CLSFindBox::OnMessage(UINT uMsg, WPARAM wParam)
{
    if (uMsg == WM_CLOSE) {
        DestroyWindow(m_hWnd);
        return TRUE;
    }
    if (uMsg != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        OnFind(IsDlgButtonChecked(m_hWnd, IDC_FIND_DOWN) == BST_CHECKED);
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    case IDC_FIND_TEXT:
        if (HIWORD(wParam) == CBN_EDITCHANGE || HIWORD(wParam) == CBN_SELCHANGE) {
            // A choice from the list reaches the edit only after this message.
            PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_FIND_TEXT, CBN_EDITUPDATE), 0);
        } else if (HIWORD(wParam) == CBN_EDITUPDATE) {
            OnTextChanged();
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void CLSFindBox::OnInitDialog()
{
    FillHistory();
    SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT, reinterpret_cast<const WCHAR*>(m_text.c_str()));
    CheckDlgButton(m_hWnd, IDC_FIND_CASE, m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(m_hWnd, IDC_FIND_UP, IDC_FIND_DOWN, m_bForward ? IDC_FIND_DOWN : IDC_FIND_UP);
    OnTextChanged();
}

void CLSFindBox::OnTextChanged()
{
    EnableWindow(GetDlgItem(m_hWnd, IDOK), !ReadText().empty());
}

std::u16string CLSFindBox::ReadText() const
{
    const std::wstring text = WindowTextWide(GetDlgItem(m_hWnd, IDC_FIND_TEXT));
    return std::u16string(text.begin(), text.end());
}

void CLSFindBox::OnFind(bool forward)
{
    const std::u16string text = ReadText();
    if (text.empty()) {
        return;
    }
    m_bMatchCase = IsDlgButtonChecked(m_hWnd, IDC_FIND_CASE) == BST_CHECKED;
    m_bForward = forward;
    CheckRadioButton(m_hWnd, IDC_FIND_UP, IDC_FIND_DOWN, forward ? IDC_FIND_DOWN : IDC_FIND_UP);
    m_text = text;
    Remember(text);
    FillHistory();
    SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT, reinterpret_cast<const WCHAR*>(text.c_str()));
    Search(text, forward);
}

// Cancel stops a running search first; pressed again, it closes the box.
void CLSFindBox::OnCancel()
{
    if (m_view.IsFinding()) {
        m_view.CancelFind();
        return;
    }
    DestroyWindow(m_hWnd);
}

void CLSFindBox::Remember(const std::u16string& text)
{
    m_history.erase(std::remove(m_history.begin(), m_history.end(), text), m_history.end());
    m_history.insert(m_history.begin(), text);
    if (m_history.size() > kHistory) {
        m_history.resize(kHistory);
    }
}

void CLSFindBox::FillHistory()
{
    HWND hWndText = GetDlgItem(m_hWnd, IDC_FIND_TEXT);
    SendMessageW(hWndText, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& text : m_history) {
        SendMessageW(hWndText, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CLSFindBox::Search(const std::u16string& text, bool forward)
{
    if (!m_view.StartFind(text, m_bMatchCase, forward)) {
        MessageBoxA(m_hWnd != nullptr ? m_hWnd : GetParent(m_view.GetHandle()),
                    LoadResourceString(IDS_FIND_NO_TEXT).c_str(), "Glim!", MB_ICONINFORMATION);
    }
}
