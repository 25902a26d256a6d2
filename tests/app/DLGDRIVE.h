// Driving the program's modal dialogs from inside their own message loops: a
// thread timer runs the steps in order, one per tick, and a step may open a
// further modal dialog that the next steps drive. A message box captioned
// "Glim!" is read and answered (with the given buttons in turn, then OK)
// before any further step runs. A spy on the thread's sent messages counts
// what reached a window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalDriver {
public:
    using Step = std::function<void()>;
    explicit ModalDriver(std::vector<Step> steps, std::vector<int> answers = {})
        : m_steps(std::move(steps)), m_answers(std::move(answers))
    {
        s_active = this;
        m_timer = SetTimer(nullptr, 0, 30, &ModalDriver::OnTick);
    }
    ~ModalDriver()
    {
        KillTimer(nullptr, m_timer);
        s_active = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Finished() const { return m_next == m_steps.size(); }
    // The texts of the message boxes closed so far.
    std::vector<std::string> m_messages;

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDriver* self = s_active;
        if (self == nullptr) {
            return;
        }
        if (HWND box = FindThreadDialog("Glim!"); box != nullptr) {
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            self->m_messages.push_back(text);
            const std::size_t answer = self->m_messages.size() - 1;
            PostMessageA(box, WM_COMMAND, answer < self->m_answers.size() ? self->m_answers[answer] : IDOK, 0);
            return;
        }
        if (self->m_next < self->m_steps.size()) {
            self->m_steps[self->m_next++]();
        } else if (HWND left = ActiveDialog(); left != nullptr && !self->m_steps.empty()) {
            PostMessageA(left, WM_COMMAND, IDCANCEL, 0);  // a failed step must not hang the test
        }
    }

public:
    // The dialog of this thread that takes input now (the innermost modal
    // one), or null. It may not be shown yet: a modal loop shows its dialog
    // only once the queue is empty, and a due tick comes first.
    static HWND ActiveDialog() { return FindThreadDialog(nullptr); }
    // A visible dialog of this thread with that caption, or null.
    static HWND FindThreadDialog(const char* caption)
    {
        Search search{caption, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), &ModalDriver::Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    struct Search {
        const char* caption;  // null: the enabled one
        HWND found;
    };
    static BOOL CALLBACK Match(HWND hWnd, LPARAM lParam)
    {
        auto* s = reinterpret_cast<Search*>(lParam);
        char cls[16] = "";
        char text[128] = "";
        GetClassNameA(hWnd, cls, sizeof(cls));
        GetWindowTextA(hWnd, text, sizeof(text));
        const bool wanted = s->caption == nullptr ? IsWindowEnabled(hWnd) != FALSE
                                                  : IsWindowVisible(hWnd) && std::string(text) == s->caption;
        if (wanted && std::string(cls) == "#32770") {
            s->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }

    static inline ModalDriver* s_active = nullptr;
    std::vector<Step> m_steps;
    std::vector<int> m_answers;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// Records every message of one kind sent to one window of this thread.
class MessageSpy {
public:
    MessageSpy(HWND hWnd, UINT message) : m_hWnd(hWnd), m_message(message)
    {
        s_active = this;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, &MessageSpy::OnCall, nullptr, GetCurrentThreadId());
    }
    ~MessageSpy()
    {
        UnhookWindowsHookEx(m_hook);
        s_active = nullptr;
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    std::vector<WPARAM> m_seen;  // wParam of each

private:
    static LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && s_active != nullptr && msg->hwnd == s_active->m_hWnd &&
            msg->message == s_active->m_message) {
            s_active->m_seen.push_back(msg->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageSpy* s_active = nullptr;
    HWND m_hWnd;
    UINT m_message;
    HHOOK m_hook = nullptr;
};
