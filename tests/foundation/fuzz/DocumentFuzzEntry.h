#pragma once
// The fuzz entry for whole ".vxm" files, shared by the libFuzzer target and
// the corpus replay test. Every component class is registered as the program
// does at start-up, so every reader is reached. An input is read as a
// document (header sections, paragraph list, slides); when that succeeds it
// is opened as the editor opens it (laid out and painted on a screen-sized
// image, then paginated and each page painted as printing does), then
// written and read back: the document read back must paint the same screen
// image, and write the same bytes again.
// Bad input may only end in CFormatException or the end-of-file
// CFileException.
#include "app/CCorvellDoc.h"
#include "app/DocumentComponents.h"
#include "app/PageBreakList.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/FontManager.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Region.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"
#include "platform/draw/ImageDC.h"

#include <QImage>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace documentfuzz {

// Answers every message box with its default button and shows nothing.
class SilentUserInterface : public UserInterface {
public:
    int MessageBox(const std::string&, const std::string&, unsigned type) override { return DefaultAnswer(type); }
    void MessageBeep(unsigned) override {}
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

// Every component class and its reader, as at start-up.
inline void RegisterReaders()
{
    InstallTextLayout();
    RegisterDocumentComponents();
}

// What the fuzzer's process needs once: a GUI application on the offscreen
// platform for the fonts, the fonts, the paragraph styles and the component
// classes, and a user interface that shows nothing. (The replay test has all
// of this from the test program and its fixture.)
inline void SetUpProcess()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_document";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    static TextPrefs prefs;
    static FontManager fonts(prefs);
    static SilentUserInterface ui;
    UserInterface::Install(&ui);
    RegisterReaders();
}

inline void ReadDocument(std::vector<uint8_t> bytes, CCorvellDoc& doc)
{
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    doc.ReadContents(reader);
}

inline std::vector<uint8_t> WriteDocument(CCorvellDoc& doc)
{
    CountingStream counter;
    {
        DocWriter measure(&counter);
        doc.WriteContents(measure, true);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(counter.GetLength()));
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocWriter writer(&stream);
    doc.WriteContents(writer, false);
    return bytes;
}

// Lays the document out and paints all of it on a screen-sized image, and
// selects each paragraph's text, as the view does after opening; answers
// the image.
inline QImage ShowOnScreen(CCorvellDoc& doc)
{
    ParagraphList& list = *doc.GetParagraphList();
    QImage image(1000, 900, QImage::Format_RGB32);
    SetImageDpi(image, 96);
    CImageDC screen(image);
    gDrawContext.BeginDrawOnDC(nullptr, &screen);
    gDrawContext.SetBaseSize(doc.GetDisplayRecord().displaySize);
    list.SetEquationSizeStep(doc.GetLargerEquations());
    list.RelayoutAll(false);
    list.PaintRange(Rect(0, 0, gDrawContext.GetPageWidth(), list.GetHeight()));
    for (int i = 1; i <= list.GetCount(); ++i) {
        const DocSelection all = DocSelection::SelectAll(list.GetAt(i)->GetRow());
        Rect bounds;
        all.GetBounds(bounds);
        Region region = all.GetRegion();
        region.UnionWith(Region::RegionFromRect(bounds));
    }
    gDrawContext.EndDraw();
    return image;
}

// A page-sized image that reports itself as a printer.
class PaperDC : public CImageDC {
public:
    explicit PaperDC(QImage& image) : CImageDC(image) { setPrinting(true); }
};

// Paginates and paints every page as printing does.
inline void Print(CCorvellDoc& doc)
{
    ParagraphList& list = *doc.GetParagraphList();
    QImage image(816, 1056, QImage::Format_RGB32);
    SetImageDpi(image, 96);
    PaperDC paper(image);
    gDrawContext.BeginDrawOnDC(nullptr, &paper);
    PageBreakList pages(gDrawContext.GetLeftMargin(), gDrawContext.GetPageWidth());
    list.Paginate(pages);
    const int margin = gDrawContext.GetMarginUnit();
    for (int page = 1; page <= pages.GetPageCount(); ++page) {
        const Rect rect = pages.GetPageRect(page);
        gDrawContext.SetOrigin(IntPoint(margin, margin - rect.top));
        gDrawContext.SetClipRegion(rect);
        list.PaintRange(rect);
        gDrawContext.ClearClipRegion();
    }
    gDrawContext.EndDraw();
}

// What an opened document shows on screen, and what it saves after it was
// shown and printed.
struct Opened {
    QImage shown;
    std::vector<uint8_t> written;
};

inline Opened ShowPrintAndWrite(CCorvellDoc& doc)
{
    Opened opened;
    opened.shown = ShowOnScreen(doc);
    Print(doc);
    opened.written = WriteDocument(doc);
    return opened;
}

// Runs one input. Answers false when the input was rejected as bad data.
inline bool RunDocumentInput(const uint8_t* data, size_t size)
{
    Opened first;
    {
        CCorvellDoc doc;
        doc.m_bAutoDelete = FALSE;
        try {
            ReadDocument(std::vector<uint8_t>(data, data + size), doc);
        } catch (const CFormatException&) {
            return false;
        } catch (const CFileException& e) {
            if (e.m_cause != CFileException::endOfFile)
                throw;
            return false;
        }
        first = ShowPrintAndWrite(doc);
    }
    // What was saved must open again, show the same and save the same bytes.
    // A difference escapes as an exception: the fuzzer stops on it, and the
    // replay test names the input.
    CCorvellDoc again;
    again.m_bAutoDelete = FALSE;
    ReadDocument(first.written, again);
    const Opened second = ShowPrintAndWrite(again);
    if (second.shown != first.shown)
        throw std::logic_error("The document saved and opened again shows something else on screen");
    if (second.written != first.written)
        throw std::logic_error("The document saved and opened again saves other bytes");
    return true;
}

} // namespace documentfuzz
