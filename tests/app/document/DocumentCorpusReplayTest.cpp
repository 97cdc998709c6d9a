// Replays every input of the document fuzz corpus (including each input that
// once crashed the reader): none may crash, hang or leak, and every input
// the reader accepts must write back to a stable form.
#include "DocumentTestSupport.h"

#include "foundation/fuzz/DocumentFuzzEntry.h"
#include "support/FakeUserInterface.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TEST_F(DocumentTest, EveryInputOfTheDocumentCorpusEndsCleanly)
{
    fs::path corpus = fs::path(QV_SOURCE_DIR) / "tests/foundation/fuzz/document-corpus";
    ASSERT_TRUE(fs::is_directory(corpus));
    FakeUserInterface ui;
    int files = 0, accepted = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        bool ok = false;
        EXPECT_NO_THROW(ok = documentfuzz::RunDocumentInput(bytes.data(), bytes.size()));
        ++files;
        accepted += ok ? 1 : 0;
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(accepted, 0);
}
