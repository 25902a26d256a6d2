// The growable array behind the line index: its growth steps, erasing, and
// the consistency check on indexed access.
#include "document/vector"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

TEST(Vector, StartsWithRoomFor16AndGrowsToTheNextMultipleOf16)
{
    vector<std::uint32_t> items;
    EXPECT_EQ(items.capacity(), 16u);
    EXPECT_TRUE(items.empty());
    for (std::uint32_t i = 0; i < 16; ++i) {
        items.push_back(i);
    }
    EXPECT_EQ(items.capacity(), 16u);
    items.push_back(16);
    EXPECT_EQ(items.capacity(), 32u);
    EXPECT_EQ(items.size(), 17u);
    for (std::uint32_t i = 0; i < 17; ++i) {
        EXPECT_EQ(items[i], i);
    }
}

TEST(Vector, ReserveAndShrinkKeepTheItems)
{
    vector<std::uint32_t> items;
    items.reserve(1000);
    EXPECT_EQ(items.capacity(), 1008u);
    for (std::uint32_t i = 0; i < 40; ++i) {
        items.push_back(i * 3);
    }
    items.shrink_to_fit();
    EXPECT_EQ(items.capacity(), 48u);
    EXPECT_EQ(items[39], 117u);
}

TEST(Vector, EraseMovesTheTailDownAndClearKeepsTheRoom)
{
    vector<std::uint32_t> items;
    for (std::uint32_t i = 0; i < 40; ++i) {
        items.push_back(i);
    }
    items.erase(2, 5);
    ASSERT_EQ(items.size(), 37u);
    EXPECT_EQ(items[1], 1u);
    EXPECT_EQ(items[2], 5u);
    EXPECT_EQ(items[36], 39u);
    items.clear();
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(items.capacity(), 48u);
}

TEST(Vector, IndexAtTheCountIsABrokenInvariant)
{
    SetAssertionHandler([](const std::string& message) { throw std::runtime_error(message); });
    vector<std::uint32_t> items;
    items.push_back(7);
    std::string message;
    try {
        (void)items[1];
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    SetAssertionHandler(nullptr);
    EXPECT_EQ(message.rfind("Assertion failed: pos < size(), file vector, line ", 0), 0u) << message;
}
