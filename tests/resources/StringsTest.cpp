// The string table: the texts other parts of the program load by id.
#include "LoadedResources.h"

TEST(ProgramStrings, EveryActionNameExists)
{
    RequireProgramResources();
    for (UINT id = 2000; id <= 2020; ++id) {
        const QString* name = ResourceStore::instance().string(id);
        ASSERT_NE(name, nullptr) << id;
        EXPECT_FALSE(name->isEmpty());
        EXPECT_FALSE(name->contains('\n')) << "an action name is shown whole after \"Undo \": " << id;
    }
    EXPECT_EQ(*ResourceStore::instance().string(2014), "Can't undo");
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
