#pragma once
// A document holding every kind of component, for the tests of the export
// writers: the stored documents of every paragraph style, every math
// component, every shape kind, every constraint kind and a 2-D plot, read
// into one paragraph list, followed by paragraphs made here: a picture
// alone, source code, links and labels whose text needs escaping, control
// characters and characters outside ASCII, and a 3-D plot with a surface.
//
// The fixture installs the text layout, the component classes, the kernel's
// row reader and the fonts a document needs, and lays the document out at 96 dpi (drawings and plots
// take their sizes from layout).
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "support/model/SavedGlobals.h"

#include <memory>
#include <string>
#include <vector>

class CImageDC;
class ParagraphList;
class QImage;

class EveryComponentDocument {
public:
    EveryComponentDocument();
    ~EveryComponentDocument();
    EveryComponentDocument(const EveryComponentDocument&) = delete;
    EveryComponentDocument& operator=(const EveryComponentDocument&) = delete;

    ParagraphList& Paragraphs() { return *m_paragraphs; }
    // The fonts of the made paragraphs, for tests that make their own.
    FontManager& Fonts() { return m_fonts; }

    // The stored documents read, in order (file names without ".vxm").
    static const std::vector<std::string>& StoredParts();
    // Reads the paragraphs of a stored document (its header skipped) and
    // appends them to the list.
    static void AppendStored(ParagraphList& list, const std::string& path);

    // The texts the made paragraphs carry (for the tests that look for them).
    static constexpr const char* kLinkTarget = "results.html?a=1&b=<2>\"q\"";
    static constexpr const char* kLinkText = "R&D <notes>";
    // A link the editor refuses to follow: the exports write its text alone;
    // and scripts' links hidden by control characters, which readers drop
    // (a hostile file can hold them): refused too, each "me too".
    static constexpr const char* kScriptTarget = "javascript:alert(1)";
    static constexpr const char* kScriptText = "run me";
    static constexpr const char* kHiddenScripts[] = {"\x01javascript:alert(2)", "java\tscript:alert(3)",
                                                     "javascript\x02:alert(4)"};
    static constexpr const char* kAwkwardText = "Fish & chips < 5 > 3 \"quoted\" and 'single'";

private:
    void AppendMadeParagraphs();
    void Layout();

    SavedGlobals m_saved;
    TextPrefs m_prefs;
    FontManager m_fonts{m_prefs};
    std::unique_ptr<QImage> m_image;
    std::unique_ptr<CImageDC> m_dc;
    std::unique_ptr<ParagraphList> m_paragraphs;
};
