// Replays every input of the archive reader's fuzz corpus (including each
// input that once crashed it): none may crash, hang or leak, and every input
// the reader accepts must write back to a stable form.
#include "foundation/fuzz/ArchiveFuzzEntry.h"
#include "support/CorpusReplay.h"

#include <gtest/gtest.h>

TEST(ArchiveCorpus, EveryInputEndsCleanly)
{
    ReplayCorpus("tests/foundation/fuzz/corpus", archivefuzz::RunArchiveInput);
}
