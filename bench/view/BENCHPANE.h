// The preview pane as the view benchmarks use it: inside a visible 800 x 600
// parent, filling its client area.
#pragma once

#include "view/WNDVIEW.h"

#include <windows.h>

#include <memory>

class CLSBenchPane {
public:
    CLSBenchPane()
        : m_hWndParent(CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)),
          m_view(std::make_unique<CLSWndView>())
    {
        if (m_hWndParent != nullptr && m_view->Create(m_hWndParent, CLSWndView::kControlId)) {
            RECT rc{};
            GetClientRect(m_hWndParent, &rc);
            m_view->Move(0, 0, rc.right, rc.bottom);
        }
    }
    ~CLSBenchPane()
    {
        m_view.reset();  // the pane goes before its parent
        DestroyWindow(m_hWndParent);
    }
    CLSBenchPane(const CLSBenchPane&) = delete;
    CLSBenchPane& operator=(const CLSBenchPane&) = delete;

    // False when either window could not be made.
    bool IsReady() const { return m_view->GetHandle() != nullptr; }
    CLSWndView& View() { return *m_view; }

private:
    HWND m_hWndParent;
    std::unique_ptr<CLSWndView> m_view;
};
