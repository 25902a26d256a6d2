// The test thread's own message loop, run until something it waits for has
// happened: posted notices, paints, a watcher's refresh.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until done() holds (checked after each
// batch) or the time is up; false when the time ran out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
