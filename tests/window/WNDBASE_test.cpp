// Binding window objects to windows: own classes and subclassed controls,
// unbound in either order. (Dialogs are bound by the same code, and Relayout
// serves the splitters and full-screen: the settings sheet's, the About box's
// and the main window's tests drive them.)
#include "window/WNDBASE.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Records what reaches the object and answers WM_APP + 5 itself.
class CLSWndRecorder : public CLSWndBase {
public:
    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(uMsg);
        if (uMsg == WM_DESTROY) {
            handleSeenAtDestroy = m_hWnd;
        } else if (uMsg == WM_APP + 5) {
            return 1234;
        }
        return DefaultProc(hWnd, uMsg, wParam, lParam);
    }
    bool Saw(UINT uMsg) const { return std::find(messages.begin(), messages.end(), uMsg) != messages.end(); }

    std::vector<UINT> messages;
    HWND handleSeenAtDestroy = nullptr;
};

HWND CreateBound(CLSWndBase* object)
{
    static const ATOM s_class = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &CLSWndBase::StaticWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "GlimTestBoundWindow";
        return RegisterClassExA(&wc);
    }();
    return CreateWindowExA(0, MAKEINTATOM(s_class), "bound", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), object);
}

std::string TextOf(HWND hWnd)
{
    char text[32] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

}  // namespace

TEST(WindowBinding, OwnClassIsBoundFromNcCreateUntilDestroy)
{
    CLSWndRecorder object;
    HWND hWnd = CreateBound(&object);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(object.GetHandle(), hWnd);
    // A top-level window gets WM_GETMINMAXINFO before WM_NCCREATE: that one
    // cannot reach the object, which sees WM_NCCREATE first.
    ASSERT_FALSE(object.messages.empty());
    EXPECT_EQ(object.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_TRUE(object.Saw(WM_CREATE));
    EXPECT_EQ(SendMessageA(hWnd, WM_APP + 5, 0, 0), 1234);

    DestroyWindow(hWnd);
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
    // The window lives on with default handling, no call into freed memory.
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), 0);
    EXPECT_EQ(SendMessageA(hWnd, WM_APP + 5, 0, 0), 0);
    EXPECT_TRUE(SetWindowTextA(hWnd, "still works"));
    EXPECT_EQ(TextOf(hWnd), "still works");
    EXPECT_TRUE(DestroyWindow(hWnd));
}

TEST(WindowBinding, AttachSubclassesAControlAndDetachRestoresIt)
{
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    {
        CLSWndRecorder object;
        ASSERT_TRUE(object.Attach(hEdit));
        EXPECT_FALSE(object.IsDialog());
        // Messages reach the object and, through DefaultProc, the edit control.
        SetWindowTextA(hEdit, "abc");
        EXPECT_TRUE(object.Saw(WM_SETTEXT));
        EXPECT_EQ(TextOf(hEdit), "abc");

        ASSERT_TRUE(object.Detach());
        EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
        EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_USERDATA), 0);
        ASSERT_TRUE(object.Attach(hEdit));  // and the destructor detaches
    }
    EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
    SetWindowTextA(hEdit, "after");
    EXPECT_EQ(TextOf(hEdit), "after");
    DestroyWindow(hEdit);

    CLSWndRecorder notBound;
    EXPECT_FALSE(notBound.Attach(nullptr));
    EXPECT_FALSE(notBound.Attach(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234))));
}
