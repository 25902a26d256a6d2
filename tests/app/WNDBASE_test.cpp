// Binding window objects to windows: own classes, subclassed controls and
// dialogs, unbound in either order.
#include "app/WNDBASE.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr char kClassName[] = "GlimTestBoundWindow";

// Records what reaches the object and can answer WM_GETTEXTLENGTH itself.
class CLSWndRecorder : public CLSWndBase {
public:
    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(uMsg);
        if (uMsg == WM_DESTROY) {
            handleSeenAtDestroy = m_hWnd;
        }
        if (uMsg == WM_APP + 5) {
            return 1234;
        }
        return DefaultProc(hWnd, uMsg, wParam, lParam);
    }
    bool Saw(UINT uMsg) const
    {
        for (UINT m : messages) {
            if (m == uMsg) {
                return true;
            }
        }
        return false;
    }
    std::vector<UINT> messages;
    HWND handleSeenAtDestroy = nullptr;
};

void RegisterTestClass()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CLSWndBase::StaticWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    ASSERT_NE(RegisterClassExA(&wc), 0);
    registered = true;
}

HWND CreateBound(CLSWndBase* object, DWORD style = WS_OVERLAPPEDWINDOW)
{
    RegisterTestClass();
    return CreateWindowExA(0, kClassName, "bound", style, 10, 10, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), object);
}

}  // namespace

TEST(WindowBinding, OwnClassIsBoundFromNcCreateUntilDestroy)
{
    CLSWndRecorder object;
    HWND hWnd = CreateBound(&object);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(object.GetHandle(), hWnd);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(static_cast<CLSWndBase*>(&object)));

    // A top-level window gets WM_GETMINMAXINFO before WM_NCCREATE: that one
    // cannot reach the object, which sees WM_NCCREATE first.
    ASSERT_FALSE(object.messages.empty());
    EXPECT_EQ(object.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_TRUE(object.Saw(WM_CREATE));
    EXPECT_EQ(SendMessageA(hWnd, WM_APP + 5, 0, 0), 1234);

    DestroyWindow(hWnd);
    EXPECT_TRUE(object.Saw(WM_DESTROY));
    EXPECT_EQ(object.handleSeenAtDestroy, hWnd);  // still bound while handling it
    EXPECT_EQ(object.GetHandle(), nullptr);       // unbound right after
    EXPECT_FALSE(object.Detach());
}

TEST(WindowBinding, ObjectDeletedBeforeItsWindow)
{
    auto* object = new CLSWndRecorder;
    HWND hWnd = CreateBound(object);
    ASSERT_NE(hWnd, nullptr);
    delete object;

    // The window lives on with no object: default handling, no call into freed memory.
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), 0);
    EXPECT_EQ(SendMessageA(hWnd, WM_APP + 5, 0, 0), 0);
    EXPECT_TRUE(SetWindowTextA(hWnd, "still works"));
    char text[32] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    EXPECT_STREQ(text, "still works");
    EXPECT_TRUE(DestroyWindow(hWnd));
}

TEST(WindowBinding, AttachSubclassesAControlAndDetachRestoresIt)
{
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hEdit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    {
        CLSWndRecorder object;
        ASSERT_TRUE(object.Attach(hEdit));
        EXPECT_FALSE(object.IsDialog());
        EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CLSWndBase::StaticWindowProc));

        // Messages reach the object and, through DefaultProc, the edit control.
        SetWindowTextA(hEdit, "abc");
        EXPECT_TRUE(object.Saw(WM_SETTEXT));
        char text[8] = "";
        GetWindowTextA(hEdit, text, sizeof(text));
        EXPECT_STREQ(text, "abc");

        ASSERT_TRUE(object.Detach());
        EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
        EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_USERDATA), 0);

        // Attached again, then destroyed with the object: the destructor restores.
        ASSERT_TRUE(object.Attach(hEdit));
    }
    EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
    SetWindowTextA(hEdit, "after");
    char text[8] = "";
    GetWindowTextA(hEdit, text, sizeof(text));
    EXPECT_STREQ(text, "after");
    DestroyWindow(hEdit);

    CLSWndRecorder notBound;
    EXPECT_FALSE(notBound.Attach(nullptr));
    EXPECT_FALSE(notBound.Attach(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234))));
}

namespace {

// A dialog template in memory: one empty dialog, no controls.
struct EmptyDialog {
    DLGTEMPLATE header{};
    WORD menu = 0, windowClass = 0, title = 0;
};

}  // namespace

TEST(WindowBinding, DialogIsBoundAtInitDialog)
{
    alignas(4) EmptyDialog dialog;
    dialog.header.style = WS_POPUP | WS_CAPTION;
    dialog.header.cx = 100;
    dialog.header.cy = 50;
    CLSWndRecorder object;
    HWND hDlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, nullptr,
                                           reinterpret_cast<DLGPROC>(&CLSWndBase::StaticWindowProc),
                                           reinterpret_cast<LPARAM>(static_cast<CLSWndBase*>(&object)));
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(object.GetHandle(), hDlg);
    EXPECT_TRUE(object.IsDialog());
    EXPECT_TRUE(object.Saw(WM_INITDIALOG));
    // The dialog manager does the default handling: our default answer is 0.
    EXPECT_EQ(object.DefaultProc(hDlg, WM_APP + 9, 0, 0), 0);
    DestroyWindow(hDlg);
    EXPECT_EQ(object.GetHandle(), nullptr);
}

TEST(WindowBinding, RelayoutSendsTheClientSize)
{
    CLSWndRecorder object;
    HWND hWnd = CreateBound(&object, WS_POPUP);
    ASSERT_NE(hWnd, nullptr);
    SetWindowPos(hWnd, nullptr, 0, 0, 321, 123, SWP_NOZORDER | SWP_NOMOVE);

    struct SizeSpy : CLSWndBase {
        LPARAM last = 0;
        WPARAM type = 99;
        LRESULT WindowProc(HWND h, UINT m, WPARAM w, LPARAM l) override
        {
            if (m == WM_SIZE) {
                last = l;
                type = w;
            }
            return DefaultProc(h, m, w, l);
        }
    };
    SizeSpy spy;
    object.Detach();
    ASSERT_TRUE(spy.Attach(hWnd));
    Relayout(hWnd);
    EXPECT_EQ(spy.type, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(spy.last), 321);
    EXPECT_EQ(HIWORD(spy.last), 123);
    DestroyWindow(hWnd);
}
