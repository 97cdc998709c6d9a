// Resource texts: malformed ones are refused whole, with a reason.
#include "FrameworkTestSupport.h"
#include "platform/framework/CString.h"

TEST(ResourceStore, MalformedTextsAreRefusedAndChangeNothing)
{
    ResourceStore& store = ResourceStore::instance();
    QString error;
    EXPECT_FALSE(store.loadJson("{ not json", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(store.loadJson(R"({"dialogs":[{"id":7001,"size":[10,10],"controls":[["edit",1,"",1,2]]}],
                                   "strings":{"7001":"kept?"}})",
                                &error));
    EXPECT_TRUE(error.contains("control"));
    EXPECT_EQ(store.dialog(7001), nullptr);
    EXPECT_EQ(store.string(7001), nullptr);
    EXPECT_FALSE(store.loadJson(R"({"accelerators":[{"id":7002,"keys":{"Ctrl+Nonsense":1}}]})", &error));
    EXPECT_FALSE(store.loadJson(R"({"menus":[{"id":7003,"items":[{"text":"&Empty","items":[]}]}]})", &error));

    ASSERT_TRUE(store.loadJson(R"({"strings":{"7004":"Prompt text\nTip"}})", &error));
    CString text;
    EXPECT_TRUE(text.LoadString(7004));
    EXPECT_EQ(text, "Prompt text\nTip");
    EXPECT_FALSE(text.LoadString(7005));
}

TEST(CStringText, ProgramCodesAndScreenTextConvert)
{
    CString accented("caf\xE9 5");
    EXPECT_EQ(ToQString(accented), QString::fromUtf8("caf\u00E9 5"));
    EXPECT_EQ(FromQString(QString::fromUtf8("caf\u00E9 5")), accented);
    EXPECT_EQ(FromQString(QString::fromUtf8("a\u4E2Db")), "a?b");
    EXPECT_EQ(CString("Doc1.vxm").Mid(40), "");
    EXPECT_EQ(AfxFormatMessage("between %1 and %2", "1", "40"), "between 1 and 40");
}
