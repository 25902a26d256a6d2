// Speed of picture mode on a 3000 x 2000 picture: a full repaint fitted to the
// pane and at 400 % (against copying as many pixels 1:1 with BitBlt), and a
// 12-pixel arrow-key scroll at 400 % (against a full repaint at that zoom).
#include "tests/common/MEDIAFILE.h"
#include "base/WIDEN.h"
#include "view/WNDVIEW.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2000;
constexpr int kPaints = 40;

bool WritePicture(const std::string& path)
{
    const std::string bytes = MakeBitmap(kWidth, kHeight, [](int x, int y) {
        return static_cast<std::uint32_t>(((x * 255 / kWidth) << 16) | ((y * 255 / kHeight) << 8) | ((x ^ y) & 0xFF));
    });
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(h);
    return ok;
}

double FullRepaints(HWND hWnd)
{
    const double start = Now();
    for (int i = 0; i < kPaints; ++i) {
        InvalidateRect(hWnd, nullptr, TRUE);
        UpdateWindow(hWnd);
    }
    return (Now() - start) / kPaints;
}

// The plain way to put a pane of pixels on the screen through a back buffer,
// as the pane does: the picture's own pixels copied 1:1 into a surface of the
// pane's size, and that copied to the window.
double PlainCopies(HWND hWnd, HBITMAP hbmp)
{
    RECT rc{};
    GetClientRect(hWnd, &rc);
    HDC hdc = GetDC(hWnd);
    HDC hdcPicture = CreateCompatibleDC(hdc);
    HGDIOBJ hOldPicture = SelectObject(hdcPicture, hbmp);
    HDC hdcBack = CreateCompatibleDC(hdc);
    HBITMAP hbmBack = CreateCompatibleBitmap(hdc, rc.right, rc.bottom);
    HGDIOBJ hOldBack = SelectObject(hdcBack, hbmBack);
    const double start = Now();
    for (int i = 0; i < kPaints; ++i) {
        BitBlt(hdcBack, 0, 0, rc.right, rc.bottom, hdcPicture, i, i, SRCCOPY);
        BitBlt(hdc, 0, 0, rc.right, rc.bottom, hdcBack, 0, 0, SRCCOPY);
    }
    GdiFlush();
    const double seconds = (Now() - start) / kPaints;
    SelectObject(hdcBack, hOldBack);
    DeleteObject(hbmBack);
    DeleteDC(hdcBack);
    SelectObject(hdcPicture, hOldPicture);
    DeleteDC(hdcPicture);
    ReleaseDC(hWnd, hdc);
    return seconds;
}

}  // namespace

int main()
{
    const std::string path = BenchFilePath("glim_picture_3000x2000.bmp");
    if (!WritePicture(path)) {
        std::fprintf(stderr, "bench_picture: cannot write %s\n", path.c_str());
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_picture: no window\n");
        return 1;
    }
    CLSWndView* view = &pane.View();
    HWND hWnd = view->GetHandle();
    view->OpenFile(WidenAnsi(path));
    Pump();
    if (view->GetDisplayMode() != DocumentKind::Image || view->Shown().BitmapWidth() != kWidth) {
        std::fprintf(stderr, "bench_picture: the file is not shown as a picture\n");
        return 1;
    }
    RECT rc{};
    GetClientRect(hWnd, &rc);
    const unsigned long long paneBytes = 4ull * rc.right * rc.bottom;
    const double plain = PlainCopies(hWnd, view->Shown().Bitmap());

    view->SetImageZoom(0);
    Pump();
    PrintBench("picture-fit-paint", paneBytes, FullRepaints(hWnd), "bitblt-1to1-via-buffer", plain);

    view->SetImageZoom(400);
    for (int i = 0; i < 200; ++i) {
        SendMessageA(hWnd, WM_KEYDOWN, VK_RIGHT, 1);
        SendMessageA(hWnd, WM_KEYDOWN, VK_DOWN, 1);
    }
    Pump();
    const double zoomed = FullRepaints(hWnd);
    PrintBench("picture-400-paint", paneBytes, zoomed, "bitblt-1to1-via-buffer", plain);

    const double start = Now();
    for (int i = 0; i < kPaints; ++i) {
        SendMessageA(hWnd, WM_KEYDOWN, i % 2 == 0 ? VK_RIGHT : VK_LEFT, 1);
        UpdateWindow(hWnd);
    }
    const double arrow = (Now() - start) / kPaints;
    PrintBench("picture-400-arrow", 12ull * 4 * rc.bottom, arrow, "picture-400-paint", zoomed);

    return 0;
}
