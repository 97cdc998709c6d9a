#pragma once
// Text where the exports have to take care: the mathematics face holding
// text the user did not mean as a formula, as documents written before
// typing kept a sentence's face after a link or a reference hold it (the
// rest of the sentence in the face of the structure): a blank after a link,
// words between links, a period and a word after a reference, words after a
// reference; a lone arrow in a sentence, an equation of one blank; a
// numbered item whose text starts with a bracket; and a fraction squared in
// a sentence. Each row says what every export must show of its paragraph. A
// badly formed formula inside text, which the exports that read formulas
// must still refuse, is made apart.
//
// Installs the text layout, the component classes and the kernel's row
// reader, as the other export documents do.
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "support/model/SavedGlobals.h"

#include <memory>
#include <string>
#include <vector>

class ParagraphComp;
class ParagraphList;

struct MathFaceTextRow {
    const char* name;
    const char* xhtml;    // a piece of the XHTML page's markup
    const char* notebook; // a piece of the notebook
    const char* printed;  // what pdftotext reads of the compiled LaTeX; empty: nothing to read
};

class MathFaceTextDocument {
public:
    MathFaceTextDocument();
    ~MathFaceTextDocument();
    MathFaceTextDocument(const MathFaceTextDocument&) = delete;
    MathFaceTextDocument& operator=(const MathFaceTextDocument&) = delete;

    static const std::vector<MathFaceTextRow>& Rows();
    // One paragraph of each row, in order.
    ParagraphList& Paragraphs() { return *m_paragraphs; }

    // Appends "So (a+ ok" with "(a+ " in the mathematics face; its visible
    // formula is components [kBadFirst, kBadEnd).
    ParagraphComp* AppendBadFormula();
    static constexpr int kBadFirst = 4;
    static constexpr int kBadEnd = 7;

private:
    void Append(ParagraphComp& paragraph, const std::string& text, int fontId);

    SavedGlobals m_saved;
    TextPrefs m_prefs;
    FontManager m_fonts{m_prefs};
    std::unique_ptr<ParagraphList> m_paragraphs;
};
