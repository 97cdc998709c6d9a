// Replays every input of the document fuzz corpus (including each input that
// once crashed the reader): none may crash, hang or leak, and every input
// the reader accepts must write back to a stable form.
#include "DocumentTestSupport.h"

#include "foundation/fuzz/DocumentFuzzEntry.h"
#include "support/CorpusReplay.h"
#include "support/FakeUserInterface.h"

TEST_F(DocumentTest, EveryInputOfTheDocumentCorpusEndsCleanly)
{
    FakeUserInterface ui;  // a later version's file shows a message
    documentfuzz::RegisterReaders();
    ReplayCorpus("tests/foundation/fuzz/document-corpus", documentfuzz::RunDocumentInput);
}
