// libFuzzer target for whole ".vxm" document files (built with -DQV_FUZZ=ON).
// Its corpus (document-corpus/) replays in test_app_document.
#include "foundation/fuzz/DocumentFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    documentfuzz::SetUpProcess();
    documentfuzz::RunDocumentInput(data, size);
    return 0;
}
