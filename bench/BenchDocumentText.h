#pragma once
// What the document benchmarks share: the generated 3,500-paragraph document
// of mixed styles (about 600 characters each) and the headless start-up at
// 96 dpi with the pinned test fonts.
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/CompList.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"

namespace benchdoc {

constexpr int kParagraphs = 3500;

// Mostly plain text, with headings, sections, lists, equations and code.
inline int StyleOf(int i)
{
    static const int pattern[] = {1, 3, 3, 4, 4, 9, 3, 5, 3, 8, 10, 3, 6, 3, 2, 3, 7, 7, 3, 3};
    return pattern[i % 20];
}

// The texts of the paragraphs, the same in every run.
inline std::vector<std::string> MakeTexts()
{
    static const char* words[] = {"the",    "layout", "of",       "a",        "paragraph", "breaks",  "lines",
                                  "at",     "blanks", "and",      "spreads",  "slack",     "over",    "words",
                                  "matrix", "sum",    "integral", "function", "value",     "number",  "section",
                                  "item",   "x+1",    "f(x)=y",   "2.5",      "equation",  "quickly", "document"};
    std::mt19937 random(7);
    std::vector<std::string> texts;
    for (int i = 0; i < kParagraphs; ++i) {
        std::string text;
        while (text.size() < 600) {
            if (!text.empty())
                text += ' ';
            text += words[random() % (sizeof words / sizeof *words)];
        }
        texts.push_back(text);
    }
    return texts;
}

// Replaces the list's paragraphs by the generated document, each paragraph's
// characters in its style's font.
inline void FillDocument(ParagraphList& list, FontManager& fonts)
{
    list.DeleteAll();
    const std::vector<std::string> texts = MakeTexts();
    for (int i = 0; i < kParagraphs; ++i) {
        auto* paragraph = new ParagraphComp(StyleOf(i));
        list.Append(paragraph);
        FontFace* face = fonts.GetFace(paragraph->GetStyle()->GetFontId());
        for (char c : texts[size_t(i)])
            paragraph->GetRow()->Append(face->GetCharacter(static_cast<unsigned char>(c)));
    }
}

// Application is QGuiApplication for the model's benchmarks and QApplication
// for those of the whole program, which has windows.
template <typename Application = QGuiApplication>
int RunBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    if (qgetenv("FONTCONFIG_FILE").isEmpty())
        qputenv("FONTCONFIG_FILE", QV_SOURCE_DIR "/tests/fonts/fonts.conf");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchdoc
