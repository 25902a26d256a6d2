// Off-screen surface. Release restores the two objects Create replaced before
// anything is deleted: a bitmap still selected into a DC cannot be freed.
#include "window/GRAPHBUF.h"

CLSGraphicsBuffer::~CLSGraphicsBuffer()
{
    Release();
}

bool CLSGraphicsBuffer::Create(HDC hdcWindow) noexcept
{
    Release();
    m_hWnd = WindowFromDC(hdcWindow);
    m_hdcMem = CreateCompatibleDC(hdcWindow);
    if (m_hdcMem == nullptr) {
        return false;
    }
    m_hbmp = CreateCompatibleBitmap(hdcWindow, 1, 1);
    if (m_hbmp != nullptr) {
        m_hbmpPrev = SelectObject(m_hdcMem, m_hbmp);
    }
    m_hfontPrev = SelectObject(m_hdcMem, GetStockObject(DEFAULT_GUI_FONT));
    return m_hbmp != nullptr;
}

bool CLSGraphicsBuffer::Resize(int cx, int cy) noexcept
{
    if (m_hdcMem == nullptr) {
        return false;
    }
    HDC hdcWindow = ::GetDC(m_hWnd);
    HBITMAP hbmpNew = CreateCompatibleBitmap(hdcWindow, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
    ReleaseDC(m_hWnd, hdcWindow);
    if (hbmpNew == nullptr) {
        return false;
    }
    HGDIOBJ hOld = SelectObject(m_hdcMem, hbmpNew);
    if (m_hbmpPrev == nullptr) {
        m_hbmpPrev = hOld;  // Create had no bitmap of its own to select
    }
    if (m_hbmp != nullptr) {
        DeleteObject(m_hbmp);
    }
    m_hbmp = hbmpNew;
    return true;
}

void CLSGraphicsBuffer::Select(HGDIOBJ hObject) noexcept
{
    if (m_hdcMem != nullptr) {
        SelectObject(m_hdcMem, hObject);
    }
}

void CLSGraphicsBuffer::Release() noexcept
{
    if (m_hdcMem != nullptr) {
        if (m_hfontPrev != nullptr) {
            SelectObject(m_hdcMem, m_hfontPrev);
        }
        if (m_hbmpPrev != nullptr) {
            SelectObject(m_hdcMem, m_hbmpPrev);
        }
        DeleteDC(m_hdcMem);
        m_hdcMem = nullptr;
    }
    if (m_hbmp != nullptr) {
        DeleteObject(m_hbmp);
        m_hbmp = nullptr;
    }
    m_hbmpPrev = nullptr;
    m_hfontPrev = nullptr;
}
