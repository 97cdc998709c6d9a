// Replays every input of the document fuzz corpus (including each input that
// once crashed the reader): none may crash, hang or leak, and every input
// the reader accepts must write back to a stable form. The corpus's named
// documents open, but for the damaged ones kept to be refused.
#include "DocumentTestSupport.h"

#include "foundation/fuzz/DocumentFuzzEntry.h"
#include "support/CorpusReplay.h"
#include "support/FakeUserInterface.h"

#include <set>

TEST_F(DocumentTest, EveryInputOfTheDocumentCorpusEndsCleanly)
{
    FakeUserInterface ui;  // a later version's file shows a message
    documentfuzz::RegisterReaders();
    const std::set<std::string> refused = {"drawing-polygon-stray-vertex.vxm", "drawing-truncated.vxm",
                                           "drawing-zero-size.vxm", "hostile-grid-padding.vxm"};
    for (const auto& [name, ok] : ReplayCorpus("tests/foundation/fuzz/document-corpus", documentfuzz::RunDocumentInput))
        EXPECT_TRUE(ok || !name.ends_with(".vxm") || refused.contains(name)) << name;
}
