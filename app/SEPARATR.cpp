// The splitter bar: range, span, dragging with live relayout, cursor, paint.
#include "app/SEPARATR.h"

#include "app/MAINLAY.h"
#include "base/OWNERS.h"

namespace {

// The class name is spelled so since the first release; keep it.
constexpr char kSeparatorClass[] = "SpellSperatorClass";

bool RegisterSeparatorClass(HINSTANCE hInstance)
{
    static bool registered = false;
    if (registered) {
        return true;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CLSWndBase::StaticWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kSeparatorClass;
    registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

}  // namespace

CLSWndSeparator::CLSWndSeparator() noexcept : m_crColor(GetSysColor(COLOR_BTNFACE)) {}

CLSWndSeparator::~CLSWndSeparator()
{
    Destroy();
}

bool CLSWndSeparator::Create(HWND hWndParent, int id)
{
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWndParent, GWLP_HINSTANCE));
    if (!RegisterSeparatorClass(hInstance)) {
        return false;
    }
    m_bDragging = false;
    return CreateWindowExA(0, kSeparatorClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hWndParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance,
                           static_cast<CLSWndBase*>(this)) != nullptr;
}

void CLSWndSeparator::SetRange(int minimum, int maximum)
{
    m_iMinimum = minimum;
    m_iMaximum = maximum;
    SetPos(GetPos());
}

void CLSWndSeparator::SetSpan(int start, int end)
{
    m_iSpanStart = start;
    m_iSpanEnd = end;
    if (m_hWnd == nullptr) {
        return;
    }
    MoveTo(GetPos());
}

void CLSWndSeparator::SetPos(int pos)
{
    MoveTo(ClampSeparatorPos(pos, m_iMinimum, m_iMaximum));
}

void CLSWndSeparator::MoveTo(int pos)
{
    const int half = m_iThickness / 2;
    const int length = m_iSpanEnd - m_iSpanStart;
    if (m_iOrientation == kHorizontal) {
        MoveWindow(m_hWnd, m_iSpanStart, pos - half, length, m_iThickness, TRUE);
    } else {
        MoveWindow(m_hWnd, pos - half, m_iSpanStart, m_iThickness, length, TRUE);
    }
}

int CLSWndSeparator::GetPos() const
{
    RECT rc{};
    GetWindowRect(m_hWnd, &rc);
    POINT corner{rc.left, rc.top};
    ScreenToClient(GetParent(m_hWnd), &corner);
    return (m_iOrientation == kHorizontal ? corner.y : corner.x) + m_iThickness / 2;
}

void CLSWndSeparator::Show(bool on)
{
    if (m_hWnd != nullptr) {
        ShowWindow(m_hWnd, on ? SW_SHOW : SW_HIDE);
    }
}

void CLSWndSeparator::Destroy()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
}

LRESULT CLSWndSeparator::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown();
        return 0;
    case WM_CAPTURECHANGED:
        m_bDragging = false;  // Alt+Tab or another window took the mouse: the drag is over
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_SETCURSOR:
        OnSetCursor();
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        return DefaultProc(hWnd, uMsg, wParam, lParam);
    }
}

void CLSWndSeparator::OnLButtonDown()
{
    m_bDragging = true;
    SetCapture(m_hWnd);
}

void CLSWndSeparator::OnLButtonUp()
{
    ReleaseCapture();
    m_bDragging = false;
}

void CLSWndSeparator::OnRButtonDown()
{
    if (m_bDragging) {
        ReleaseCapture();
        m_bDragging = false;
    }
}

// The cursor is read now rather than from the message, so that a burst of
// moves lands where the mouse is, not where it was.
void CLSWndSeparator::OnMouseMove()
{
    if (!m_bDragging) {
        return;
    }
    const int old = GetPos();
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND hWndParent = GetParent(m_hWnd);
    ScreenToClient(hWndParent, &cursor);
    const int pos =
        ClampSeparatorPos(m_iOrientation == kHorizontal ? cursor.y : cursor.x, m_iMinimum, m_iMaximum);
    if (pos == old) {
        return;
    }
    MoveTo(pos);
    Relayout(hWndParent);
}

void CLSWndSeparator::OnSetCursor() const
{
    SetCursor(LoadCursorA(nullptr, m_iOrientation == kHorizontal ? IDC_SIZENS : IDC_SIZEWE));
}

// Button face with a shadow line and a light line beside it in the middle.
void CLSWndSeparator::OnPaint()
{
    CLSPenOwner light(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_3DLIGHT)));
    CLSPenOwner shadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW)));
    CLSPaintDC paint(m_hWnd);
    HDC hdc = paint.Get();
    {
        CLSBrushOwner face(CreateSolidBrush(m_crColor));
        FillRect(hdc, &paint.Paint().rcPaint, face.Get());
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    CLSSelectObject select(hdc, shadow.Get());
    if (m_iOrientation == kHorizontal) {
        const int m = client.bottom / 2;
        MoveToEx(hdc, 0, m, nullptr);
        LineTo(hdc, client.right, m);
        SelectObject(hdc, light.Get());
        MoveToEx(hdc, 0, m + 1, nullptr);
        LineTo(hdc, client.right, m + 1);
    } else {
        const int m = client.right / 2;
        MoveToEx(hdc, m, 0, nullptr);
        LineTo(hdc, m, client.bottom);
        SelectObject(hdc, light.Get());
        MoveToEx(hdc, m + 1, 0, nullptr);
        LineTo(hdc, m + 1, client.bottom);
    }
}
