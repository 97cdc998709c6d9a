// Every character a user can enter, typed or clicked on the Symbols palette,
// in text and in every kind of mathematics, exported as a notebook with the
// kernel program giving the formulas' box text: the file is ASCII and holds
// each character in its notebook form ("\[Alpha]"), in text cells and in
// mathematics cells alike, where the kernel may name the symbol a character
// stands for instead.
#include "export/LaTeXCharForms.h"
#include "export/LaTeXExport.h"
#include "export/NotebookFileWriter.h"
#include "foundation/CharTable.h"
#include "foundation/FontIds.h"
#include "kernel/KernelLink.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"
#include "support/export/EveryCharacterDocument.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/SilentQuestions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(NotebookCharacterForms, NamedCharactersByNameOthersByCodeAsciiAsItself)
{
    const std::pair<char32_t, const char*> forms[] = {
        {U'\u03B1', "\\[Alpha]"}, {U'\u2264', "\\[LessEqual]"}, {U'\u03A9', "\\[CapitalOmega]"},
        {U'\u00E9', "\\:00e9"},   {U'\u00B3', "\\:00b3"},       {U'a', "a"},
    };
    for (const auto& [ch, form] : forms)
        EXPECT_EQ(NotebookFileWriter::CharacterForm(ch), form) << unsigned(ch);
    // Text of the text faces: what they show, quotes and backslashes escaped.
    EXPECT_EQ(NotebookFileWriter::StringForm("caf\xE9 \xB3 \"q\" \\"), "caf\\:00e9 \\:00b3 \\\"q\\\" \\\\");
    EXPECT_EQ(NotebookFileWriter::NotebookText("\\(\xCE\xB1 + 1\\)"), "\\(\\[Alpha] + 1\\)");
}

// Whether the piece holds the kernel's name of the symbol the character
// stands for (the kernel writes pi as Pi, the double-struck R as its
// package's symbol): the character table's symbol of the character, or the
// built-in name a letter spells.
bool HasKernelName(const std::string& piece, const EnteredCharacter& entry)
{
    const int charSet = entry.fontId == FontId::kMath ? SYMBOL_CHARSET : ANSI_CHARSET;
    int id = CharTable::GetKernelNameId(LaTeXCharForms::StoredCode(entry.code, charSet));
    if (id == 0 && entry.ch < 128 && KernelNameLookup::Registered())
        id = KernelNameLookup::Registered()->Find(std::string(1, static_cast<char>(entry.ch)).c_str());
    const BuiltinName* name = id > 0 ? NameTable::Entry(id) : nullptr;
    if (!name)
        return false;
    for (const char* spelling : {name->plain, name->package})
        if (spelling && *spelling && piece.find(std::string("\\(") + spelling + "\\)") != std::string::npos)
            return true;
    return false;
}

class KernelGuard {
public:
    explicit KernelGuard(KernelLink& link) : m_link(link) {}
    ~KernelGuard()
    {
        StopBuiltKernel(m_link);
        AppProfile::SetFolder({});
    }

private:
    KernelLink& m_link;
};

TEST(NotebookEveryCharacter, EachCharacterIsInTheNotebookInItsForm)
{
    EveryCharacterDocument characters;
    QTemporaryDir settings;
    KernelLink link;
    SilentQuestions questions;
    UseBuiltKernel(link, questions, settings.path().toStdString());
    KernelGuard stop(link);
    ASSERT_TRUE(StartAndWait(link));
    const auto boxText = [&](const ExprNode* node) { return link.ToStandardFormText(node); };

    const std::string path = std::string(QV_TEST_OUTPUT) + "/characters.nb";
    std::filesystem::create_directories(QV_TEST_OUTPUT);
    ASSERT_TRUE(ExportNotebookFile(characters.Paragraphs(), path, boxText).written);
    std::ifstream in(path, std::ios::binary);
    const std::string notebook((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (unsigned char c : notebook)
        ASSERT_LT(c, 128) << "a byte beyond ASCII in the notebook";

    std::vector<std::string> lost;
    for (size_t n = 0; n < characters.Entries().size(); ++n) {
        const EnteredCharacter& entry = characters.Entries()[n];
        // A sign alone is no expression; the expression reader takes every
        // character of a formula as the mathematics face's.
        if (characters.InMathematics(n) && (!characters.ReadsAsExpression(n) || entry.fontId != FontId::kMath))
            continue;
        const std::string piece = EveryCharacterDocument::Piece(notebook, n);
        std::string form = NotebookFileWriter::CharacterForm(entry.ch);
        if (form == "\"" || form == "\\")
            form = "\\" + form;
        if (piece.find(form) == std::string::npos && !HasKernelName(piece, entry))
            lost.push_back(EveryCharacterDocument::Describe(entry) + ": " + piece);
    }
    EXPECT_TRUE(lost.empty()) << lost.size() << " characters lost, the first: " << (lost.empty() ? "" : lost[0]);
}

} // namespace
