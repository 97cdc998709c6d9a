// libFuzzer target for the reader of kernel answers (built with -DQV_FUZZ=ON).
// Its corpus (corpus/) replays in test_kernel_reader.
#include "kernel/fuzz/ReaderFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readerfuzz::RunReaderInput(data, size);
    return 0;
}
