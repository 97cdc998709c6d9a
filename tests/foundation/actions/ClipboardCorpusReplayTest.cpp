// Replays every input of the clipboard fuzz corpus (private blocks copied
// from real selections, and each input that once crashed the reader): none
// may crash, hang or leak, and every block the reader accepts must write back
// to a stable form.
#include "ActionFixture.h"

#include "foundation/fuzz/ClipboardFuzzEntry.h"
#include "support/CorpusReplay.h"

namespace {

using ClipboardCorpusTest = ActionTest;

TEST_F(ClipboardCorpusTest, EveryInputOfTheClipboardCorpusEndsCleanly)
{
    ReplayCorpus("tests/foundation/fuzz/clipboard-corpus", clipboardfuzz::RunClipboardInput);
}

TEST_F(ClipboardCorpusTest, ACopiedBlockReadsBackToTheSameBytesAndATruncatedOneIsRejected)
{
    auto copied = list.CopyRange(Range(2, 2, 3, 3));
    const auto block = DocClipboard::PrivateBytes(*copied);
    EXPECT_EQ(clipboardfuzz::ReadBlock(block), block);
    for (size_t cut : {size_t(0), size_t(3), block.size() / 2, block.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(clipboardfuzz::RunClipboardInput(block.data(), cut));
    }
}

} // namespace
