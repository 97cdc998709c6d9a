// libFuzzer target for the document archive reader (built with -DQV_FUZZ=ON).
#include "foundation/fuzz/ArchiveFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    archivefuzz::RunArchiveInput(data, size);
    return 0;
}
