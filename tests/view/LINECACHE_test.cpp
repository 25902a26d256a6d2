// The cache of shown lines: each line decoded once while it is kept, again
// after a change of file or encoding, and a failed decoding never kept.
#include "view/LINECACHE.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FakeLine {
    std::string text;
    explicit operator bool() const { return !text.empty(); }
    int Length() const { return static_cast<int>(text.size()); }
};

}  // namespace

TEST(LineCache, DecodesEachShownLineOnce)
{
    CLSLineCache<FakeLine> cache;
    int decoded = 0;
    auto decode = [&](std::uint32_t k) {
        ++decoded;
        return FakeLine{k == 9 ? std::string() : std::string(k + 1, 'a')};
    };
    for (int key = 0; key < 3; ++key) {  // a caret key: length, keep in sight, place, paint
        for (std::uint32_t k = 0; k < 20; ++k) {
            EXPECT_EQ(cache.Get(k, decode).Length(), k == 9 ? 0 : static_cast<int>(k) + 1);
        }
    }
    EXPECT_EQ(decoded, 19 + 3) << "every line once, the one that failed each time";
    cache.Clear();
    cache.Get(4, decode);
    EXPECT_EQ(decoded, 23);
    for (std::uint32_t k = 100; k < 400; ++k) {  // many more lines than are kept
        cache.Get(k, decode);
    }
    EXPECT_EQ(cache.Get(399, decode).Length(), 400);
    EXPECT_EQ(decoded, 23 + 300) << "the newest lines stay";
}
