// libFuzzer target for the clipboard's private block (built with -DQV_FUZZ=ON).
// Its corpus (clipboard-corpus/) replays in test_foundation_actions.
#include "foundation/fuzz/ClipboardFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    clipboardfuzz::SetUpProcess();
    clipboardfuzz::RunClipboardInput(data, size);
    return 0;
}
