// The off-screen surface: what is drawn into it is what BitBlt copies out.
#include "app/GRAPHBUF.h"

#include <gtest/gtest.h>

TEST(GraphicsBuffer, DrawsAtItsSizeAndReleasesCleanly)
{
    HWND hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 32, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    HDC hdc = GetDC(hWnd);
    {
        CLSGraphicsBuffer buffer;
        EXPECT_EQ(buffer.GetDC(), nullptr);
        EXPECT_FALSE(buffer.Resize(10, 10));  // nothing to resize before Create

        ASSERT_TRUE(buffer.Create(hdc));
        ASSERT_TRUE(buffer.Resize(40, 20));
        BITMAP bm{};
        ASSERT_NE(GetObjectA(buffer.GetBitmap(), sizeof(bm), &bm), 0);
        EXPECT_EQ(bm.bmWidth, 40);
        EXPECT_EQ(bm.bmHeight, 20);

        // The stock GUI font is selected by Create.
        EXPECT_EQ(GetCurrentObject(buffer.GetDC(), OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));

        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT rc{5, 5, 6, 6};
        FillRect(buffer.GetDC(), &rc, red);
        DeleteObject(red);
        EXPECT_EQ(GetPixel(buffer.GetDC(), 5, 5), RGB(255, 0, 0));

        // A second Create starts over on a fresh surface.
        HBITMAP before = buffer.GetBitmap();
        ASSERT_TRUE(buffer.Create(hdc));
        EXPECT_NE(buffer.GetBitmap(), nullptr);
        EXPECT_EQ(GetObjectType(before), 0u);  // the old bitmap was freed
        buffer.Release();
        EXPECT_EQ(buffer.GetDC(), nullptr);
        EXPECT_EQ(buffer.GetBitmap(), nullptr);
    }
    ReleaseDC(hWnd, hdc);
    DestroyWindow(hWnd);
}
