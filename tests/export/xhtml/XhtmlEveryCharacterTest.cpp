// Every character a user can enter, typed or clicked on the Symbols palette,
// in text and in every kind of mathematics, exported to XHTML: the page,
// with its entities read by xmllint against its document type, holds each
// character as itself (a sign that does not read as an expression alone is
// reported by the export, not written).
#include "XhtmlTestSupport.h"

#include "export/XhtmlExport.h"
#include "foundation/FontIds.h"
#include "support/export/EveryCharacterDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(XhtmlEveryCharacter, EachCharacterIsOnThePageAsItself)
{
    EveryCharacterDocument characters;
    const std::string path = TestFolder() + "/characters.xhtml";
    // A sign alone does not read as an expression: it is written as far as it reads.
    const XhtmlExportResult result = WriteXhtmlExport(characters.Paragraphs(), path, "Characters", true);
    ASSERT_TRUE(result.ok) << result.message;
    const ToolRun expanded = RunTool("xmllint", {"--nonet", "--loaddtd", "--noent", path});
    ASSERT_EQ(expanded.exitCode, 0) << expanded.output.substr(0, 2000);

    std::vector<std::string> lost;
    for (size_t n = 0; n < characters.Entries().size(); ++n) {
        const EnteredCharacter& entry = characters.Entries()[n];
        // The expression reader takes every character of a formula as the
        // mathematics face's: a text face's character typed into one (an
        // accented letter the mathematics face lacks) is not checked here.
        if (characters.InMathematics(n) && (!characters.ReadsAsExpression(n) || entry.fontId != FontId::kMath))
            continue;
        const std::string piece = EveryCharacterDocument::Piece(expanded.output, n);
        const std::u32string shown = EveryCharacterDocument::DecodeMarkup(piece);
        // A formula's e is the exponential constant.
        if (shown.find(entry.ch) == std::u32string::npos && !(entry.ch == 'e' && shown.find(U'\u2147') != shown.npos))
            lost.push_back(EveryCharacterDocument::Describe(entry) + ": \"" + piece + "\"");
    }
    EXPECT_TRUE(lost.empty()) << lost.size() << " characters lost, the first: " << (lost.empty() ? "" : lost[0]);
}

} // namespace
