// The growable array behind the line index: growth that keeps the items,
// erasing, and the consistency checks.
#include "document/vector"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <stdexcept>
#include <string>

TEST(Vector, GrowsShrinksAndErasesKeepingTheItems)
{
    vector<std::uint32_t> items;
    for (std::uint32_t i = 0; i < 17; ++i) {
        items.push_back(i * 3);
    }
    items.reserve(1000);
    items.shrink_to_fit();
    items.erase(2, 5);
    const std::uint32_t expected[] = {0, 3, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48};
    ASSERT_EQ(items.size(), 14u);
    EXPECT_TRUE(std::equal(expected, expected + 14, items.data()));
}

namespace {

// The assertion text of what f does, empty when nothing asserted.
template <typename F>
std::string AssertionOf(F f)
{
    SetAssertionHandler([](const std::string& message) { throw std::runtime_error(message); });
    std::string message;
    try {
        f();
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    SetAssertionHandler(nullptr);
    return message;
}

}  // namespace

TEST(Vector, BrokenInvariantsAndImpossibleSizesAssert)
{
    vector<std::uint32_t> items;
    items.push_back(7);
    EXPECT_EQ(AssertionOf([&] { (void)items[1]; }).rfind("Assertion failed: pos < size(), file vector, line ", 0), 0u);
    // A count whose bytes wrap a size_t would otherwise allocate a few bytes
    // and take them for the whole room.
    EXPECT_EQ(AssertionOf([&] { items.reserve(SIZE_MAX / 4 + 16); }).rfind("Assertion failed: n <= max_size()", 0), 0u);
    EXPECT_EQ(items[0], 7u);
}
