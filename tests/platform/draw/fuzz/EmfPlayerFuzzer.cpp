// libFuzzer target for the picture player (built with clang and
// -fsanitize=fuzzer). Its corpus replays in test_platform_draw.
#include "EmfFuzzEntry.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    emffuzz::Run(data, size);
    return 0;
}
