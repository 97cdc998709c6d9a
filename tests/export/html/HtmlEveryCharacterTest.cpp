// Every character a user can enter, typed or clicked on the Symbols palette,
// in text and in every kind of mathematics, exported to HTML: the page's
// text, and the text that stands for each formula's picture, hold each
// character as itself.
#include "export/HtmlExport.h"
#include "support/export/EveryCharacterDocument.h"
#include "support/TestOutputFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(HtmlEveryCharacter, EachCharacterIsOnThePageAsItself)
{
    EveryCharacterDocument characters;
    const std::string folder = TestOutputFolder();
    HtmlExportSettings settings;
    settings.path = folder + "/characters.htm";
    settings.title = "Characters";
    settings.firstCellWidth = 600;
    settings.secondCellWidth = 100;
    const HtmlExportResult result = WriteHtmlExport(characters.Paragraphs(), settings);
    ASSERT_TRUE(result.ok) << result.message;
    std::ifstream in(settings.path, std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::vector<std::string> lost;
    for (size_t n = 0; n < characters.Entries().size(); ++n) {
        const EnteredCharacter& entry = characters.Entries()[n];
        const std::string piece = EveryCharacterDocument::Piece(page, n);
        if (EveryCharacterDocument::DecodeMarkup(piece).find(entry.ch) == std::u32string::npos)
            lost.push_back(EveryCharacterDocument::Describe(entry) + ": \"" + piece + "\"");
    }
    EXPECT_TRUE(lost.empty()) << lost.size() << " characters lost, the first: " << (lost.empty() ? "" : lost[0]);
}

} // namespace
