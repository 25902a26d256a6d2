// The off-screen surface: what is drawn through it is the panes' paint tests;
// here, its life: nothing before Create, a fresh bitmap for each Create with
// the old one freed, nothing after Release.
#include "window/GRAPHBUF.h"

#include "base/OWNERS.h"

#include <gtest/gtest.h>

TEST(GraphicsBuffer, CreateStartsOverOnAFreshSurfaceAndReleaseFreesIt)
{
    CLSWindowDC screen(nullptr);
    CLSGraphicsBuffer buffer;
    EXPECT_FALSE(buffer.Resize(10, 10));  // nothing to resize before Create
    ASSERT_TRUE(buffer.Create(screen.Get()));
    ASSERT_TRUE(buffer.Resize(40, 20));
    const HBITMAP before = buffer.GetBitmap();
    ASSERT_TRUE(buffer.Create(screen.Get()));
    EXPECT_NE(buffer.GetBitmap(), nullptr);
    EXPECT_EQ(GetObjectType(before), 0u);  // the old bitmap was freed
    buffer.Release();
    EXPECT_EQ(buffer.GetDC(), nullptr);
    EXPECT_EQ(buffer.GetBitmap(), nullptr);
}
