// libFuzzer target for the parser of the user's kernel code (built with
// -DQV_FUZZ=ON). Its corpus (corpus/) replays in test_kernelproc.
#include "kernelproc/fuzz/CodeParserFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    codefuzz::RunCodeInput(data, size);
    return 0;
}
