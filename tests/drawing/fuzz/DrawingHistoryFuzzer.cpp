// libFuzzer target of the drawing history sweep (built with -DQV_FUZZ=ON):
// each input is a script of steps on two drawings that share items (see
// DrawingHistory.h). A fault the checks find stops the fuzzer with its
// text; crashes and leaks are the sanitizers'. Its corpus (corpus/)
// replays in test_drawing, every input that once failed among it.
#include "drawing/DrawingHistory.h"
#include "drawing/DrawingTestSupport.h"

#include "drawing/DrawingComponents.h"
#include "foundation/DrawContext.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/MathComponents.h"
#include "platform/draw/ImageDC.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

// What the drawing tests' fixture sets up, once for the process: a GUI
// application on the offscreen platform for the fonts, the fonts, the
// component kinds, and a 96-dpi image the drawing context draws on.
void SetUpProcess()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_drawing_history";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    static TextPrefs prefs;
    static FontManager fonts(prefs);
    RegisterMathComponents();
    RegisterDrawingComponents();
    InstallTextLayout();
    static QImage image(420, 560, QImage::Format_RGB32);
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    static CImageDC dc(image);
    static DrawingScreen screen;
    gDrawContext.BeginDrawOnDC(&screen, &dc);
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    gDrawContext.SetFontFamily(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpProcess();
    const std::string faults = drawing_history::RunHistory(data, size);
    if (!faults.empty()) {
        std::fputs(faults.c_str(), stderr);
        std::abort();
    }
    return 0;
}
