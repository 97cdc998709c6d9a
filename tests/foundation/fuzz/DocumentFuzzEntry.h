#pragma once
// The fuzz entry for whole ".vxm" files, shared by the libFuzzer target and
// the corpus replay test. An input is read as a document (header sections,
// paragraph list, slides); when that succeeds the document is written,
// read back and written again: the two writes must be identical. Bad input
// may only end in CFormatException or the end-of-file CFileException.
// Component kinds outside the document foundation and the drawings are read
// as the records that keep unknown kinds.
#include "app/CCorvellDoc.h"
#include "drawing/DrawingComponents.h"
#include "foundation/ComponentFactory.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/FontManager.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
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
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterDrawingComponents();
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

// Runs one input. Answers false when the input was rejected as bad data.
inline bool RunDocumentInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> written;
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
        written = WriteDocument(doc);
    }
    // What was read and written must read back and write the same bytes again.
    CCorvellDoc again;
    again.m_bAutoDelete = FALSE;
    ReadDocument(written, again);
    if (WriteDocument(again) != written)
        std::abort();
    return true;
}

} // namespace documentfuzz
