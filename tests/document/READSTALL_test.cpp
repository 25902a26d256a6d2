// Reads of a file that never end (a share or a stick that went away): each
// way the first screen reads the document gives up in time, and the read left
// behind ends on its own later.
#include "document/FILESTRM.h"

#include "base/WIDEN.h"
#include "tests/common/HELDREAD.h"
#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <functional>

TEST(ReadStall, FirstScreenReadsGiveUpAndTheStuckReadEndsOnItsOwn)
{
    TempFolder folder;
    const std::wstring path = WidenAnsi(folder.Write("big.txt", std::string(4000, 'a') + "\n"));
    const struct {
        const char* name;
        std::function<void(CLSFileStream&)> read;
    } cases[] = {
        {"the sample that decides the kind", [](CLSFileStream& doc) { EXPECT_EQ(doc.GetKind(), DocumentKind::None); }},
        {"the lines near the start", [](CLSFileStream& doc) { EXPECT_FALSE(doc.GetLine(0)); }},
        {"bytes at the cursor (hex rows, pictures)", [](CLSFileStream& doc) {
             char bytes[16];
             DWORD got = 0;
             EXPECT_FALSE(doc.ReadBytes(bytes, sizeof(bytes), &got));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLSFileStream doc;
        doc.SetMemoryLimit(1000);
        ASSERT_TRUE(doc.Open(path));
        doc.StartLineIndex([] {});  // as the pane does: the start is read here, the rest on a thread
        auto source = std::make_shared<CLSHeldSource>();
        doc.ReadThrough(source, 100);
        c.read(doc);
        EXPECT_TRUE(doc.HasStalled());
        doc.Close();
        // Let go, the stuck read ends into a buffer of the reader's own and
        // drops the source.
        SetEvent(source->release.Get());
        for (int i = 0; i < 500 && source.use_count() > 1; ++i) {
            Sleep(10);
        }
        EXPECT_EQ(source.use_count(), 1);
    }
}
