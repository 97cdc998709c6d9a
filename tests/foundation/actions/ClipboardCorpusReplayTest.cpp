// Replays every input of the clipboard fuzz corpus (private blocks copied
// from real selections, and each input that once crashed the reader): none
// may crash, hang or leak, and every block the reader accepts must write back
// to a stable form.
#include "ActionFixture.h"

#include "foundation/fuzz/ClipboardFuzzEntry.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

using ClipboardCorpusTest = ActionTest;

TEST_F(ClipboardCorpusTest, EveryInputOfTheClipboardCorpusEndsCleanly)
{
    fs::path corpus = fs::path(QV_SOURCE_DIR) / "tests/foundation/fuzz/clipboard-corpus";
    ASSERT_TRUE(fs::is_directory(corpus));
    int files = 0, accepted = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        bool ok = false;
        EXPECT_NO_THROW(ok = clipboardfuzz::RunClipboardInput(bytes.data(), bytes.size()));
        ++files;
        accepted += ok ? 1 : 0;
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(accepted, 0);
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
