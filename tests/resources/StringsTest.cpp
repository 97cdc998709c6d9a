// The string table: the texts other parts of the program load by id.
#include "LoadedResources.h"
#include "platform/framework/CString.h"

TEST(ProgramStrings, RepresentativeTextsAreExact)
{
    RequireProgramResources();
    struct Entry {
        UINT id;
        const char* text;
    };
    const Entry entries[] = {
        {128, "Quorvant"},
        {2000, "copy"},
        {2003, "delete"},
        {2006, "typing"},
        {2012, "remove paragraph break"},
        {2013, "calculation"},
        {2014, "Can't undo"},
        {2019, "move"},
        {2020, "add segment"},
        {34050, "Create a new Point\nPoint"},
        {34056, "Create a plot\nPlot"},
        {34057, "Create a text label\nText label"},
        {34058, "Make lines parallel\nParallel"},
        {34068, "Fix Slope\nFix Slope"},
        {34069, "Tangency constraint\nMake tangent"},
    };
    for (const Entry& e : entries) {
        CString text;
        ASSERT_TRUE(text.LoadString(e.id)) << e.id;
        EXPECT_EQ(text, e.text) << e.id;
    }
}

TEST(ProgramStrings, EveryActionNameExists)
{
    RequireProgramResources();
    for (UINT id = 2000; id <= 2020; ++id) {
        const QString* name = ResourceStore::instance().string(id);
        ASSERT_NE(name, nullptr) << id;
        EXPECT_FALSE(name->isEmpty());
        EXPECT_FALSE(name->contains('\n')) << "an action name is shown whole after \"Undo \": " << id;
    }
}

TEST(ProgramStrings, TheDocumentTypeNamesTheFilterAndExtension)
{
    RequireProgramResources();
    const QString* text = ResourceStore::instance().string(129);
    ASSERT_NE(text, nullptr);
    QStringList parts = text->split('\n');
    ASSERT_EQ(parts.size(), 7);
    EXPECT_EQ(parts[1], "Quorvant");
    EXPECT_EQ(parts[3], "Quorvant Files (*.vxm)");
    EXPECT_EQ(parts[4], ".vxm");
}

TEST(ProgramStrings, SymbolButtonsNameTheCharacterTheyType)
{
    RequireProgramResources();
    for (UINT id = 32901; id <= 32972; ++id) {
        QString tip = ToolTip(id);
        ASSERT_EQ(tip.size(), tip.at(0).isHighSurrogate() ? 2 : 1) << id;
        EXPECT_NE(tip, "?") << "symbol " << id << " has no character";
        EXPECT_TRUE(ResourceStore::instance().string(id)->startsWith("Type the symbol " + tip)) << id;
    }
}
