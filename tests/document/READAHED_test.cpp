// The read-ahead thread: every byte of the range once and in order, whatever
// the piece size against the ring of buffers, a file that ends early, and an
// owner that stops early.
#include "document/READAHED.h"

#include "base/OWNERS.h"
#include "tests/common/TEMPDIR.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ReadThrough(CLSReadAhead& reader, DWORD piece)
{
    std::string bytes;
    const unsigned char* data = nullptr;
    DWORD got = 0;
    while (reader.Next(&data, &got)) {
        EXPECT_LE(got, piece);
        bytes.append(reinterpret_cast<const char*>(data), got);
    }
    return bytes;
}

}  // namespace

TEST(ReadAhead, GivesTheRangeInOrderAndStopsAtTheFileEnd)
{
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text.push_back(static_cast<char>('0' + (i * 7 + i / 13) % 64));
    }
    const std::string path = folder.Write("pieces.txt", text);
    const CLSHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    const struct {
        DWORD from;
        DWORD to;
        DWORD piece;
    } cases[] = {
        {0, 5000, 7},       // many turns of the ring
        {13, 4999, 1000},
        {0, 5000, 5000},    // one piece
        {4000, 9000, 300},  // the file ends first: read to its end, no failure
        {5000, 5000, 64},   // nothing to read
    };
    for (const auto& c : cases) {
        CLSReadAhead reader(file.Get(), c.from, c.to, c.piece);
        ASSERT_TRUE(reader.IsRunning());
        const DWORD end = c.to < text.size() ? c.to : static_cast<DWORD>(text.size());
        EXPECT_EQ(ReadThrough(reader, c.piece), text.substr(c.from, end - c.from))
            << c.from << "-" << c.to << " by " << c.piece;
        EXPECT_FALSE(reader.Failed());
        EXPECT_EQ(reader.StoppedAt(), end);
    }
}

// A reader made on the window's thread leaves that thread free to run on any
// processor; only the index thread asks to be kept apart. Either way the
// owner may leave it halfway: its thread must end while it waits for a slot.
TEST(ReadAhead, LeavesTheOwnersProcessorsAloneUnlessAskedAndStopsWhenLeft)
{
    TempFolder folder;
    const std::string path = folder.Write("apart.txt", std::string(100000, 'x'));
    const CLSHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
    for (bool keepApart : {false, true}) {
        CLSReadAhead reader(file.Get(), 0, 100000, 100, keepApart);
        const DWORD_PTR during = SetThreadAffinityMask(GetCurrentThread(), process);
        EXPECT_EQ(during == process, !keepApart || (process & (process - 1)) == 0) << keepApart;
        const unsigned char* data = nullptr;
        DWORD got = 0;
        EXPECT_TRUE(reader.Next(&data, &got));
        EXPECT_EQ(got, 100u);
    }
    EXPECT_EQ(SetThreadAffinityMask(GetCurrentThread(), process), process);
}
