// CLSWndSeparator: the bar the user drags to share space between panes. It
// knows its position (the centre line, in the parent's client coordinates),
// its range and the extent it covers; while dragged it moves itself and asks
// the parent to lay out again, and the parent reads GetPos back.
#pragma once

#include "window/WNDBASE.h"

#include <windows.h>

class CLSWndSeparator : public CLSWndBase {
public:
    static constexpr int kVertical = 0;    // dragged left and right
    static constexpr int kHorizontal = 1;  // dragged up and down

    CLSWndSeparator() noexcept;
    ~CLSWndSeparator() override;

    bool Create(HWND hWndParent, int id);
    void SetOrientation(int orientation) noexcept { m_iOrientation = orientation; }
    int GetOrientation() const noexcept { return m_iOrientation; }
    int GetThickness() const noexcept { return m_iThickness; }
    // Stores the range and moves the bar into it at once.
    void SetRange(int minimum, int maximum);
    // The extent along the bar's length (top..bottom of a vertical bar).
    void SetSpan(int start, int end);
    void SetPos(int pos);
    int GetPos() const;
    // The position lies in the range (false when the parent is too small to
    // hold the bar's range at all).
    bool IsInRange() const { return GetPos() >= m_iMinimum && GetPos() <= m_iMaximum; }
    bool IsDragging() const noexcept { return m_bDragging; }
    void Show(bool on);
    void Destroy();

    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void MoveTo(int pos);
    void OnLButtonDown();
    void OnLButtonUp();
    void OnRButtonDown();
    void OnMouseMove();
    void OnSetCursor() const;
    void OnPaint();

    int m_iOrientation = kVertical;
    COLORREF m_crColor;
    int m_iThickness = 7;
    int m_iMinimum = 0;
    int m_iMaximum = 2048;
    int m_iSpanStart = 0;
    int m_iSpanEnd = 0;
    bool m_bDragging = false;
};
