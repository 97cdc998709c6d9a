// Paragraphs that a multi-paragraph edit takes out of a document and its undo
// puts back keep their ids, so cross-references (which find their equation by
// paragraph id) still follow the equation, and ids come back to the pool only
// when the paragraphs are really destroyed.
#include "DocumentTestSupport.h"

#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "foundation/CountingStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TTypingAction.h"
#include "math/CrossRefComp.h"
#include "math/RefComponents.h"
#include "support/model/ArchiveStore.h"

#include <set>

namespace {

class HostView : public ActionView {
public:
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int, int) override {}
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection& s) override { selection = s; }
    ParagraphList* GetParagraphList() const override { return nullptr; }
    DocSelection selection;
};

// "Intro" | equation "x=1" | equation "y=2" | "see " + a reference to "y=2"
// (the texts compared end at the reference, which has no plain text).
class UndoKeepsParagraphIdsTest : public DocumentTest {
protected:
    UndoKeepsParagraphIdsTest() : doc(NewDocument())
    {
        RegisterRefComponents();
        list = doc->GetParagraphList();
        list->DeleteAll();
        AddParagraph(*doc, "Intro");
        AddParagraph(*doc, "x=1", 6);
        equation = AddParagraph(*doc, "y=2", 6);
        AddParagraph(*doc, "see ");
        reference = new CrossRefComp(equation->GetLabel());
        list->GetAt(4)->GetRow()->Append(reference);
        list->RelayoutAll(false);
    }

    std::vector<uint8_t> ParagraphBytes() const
    {
        return StoreArchive([this](DocWriter& writer) { list->Write(writer, false); });
    }
    std::vector<int32_t> Ids() const
    {
        std::vector<int32_t> ids;
        for (int i = 1; i <= list->GetCount(); ++i)
            ids.push_back(list->GetAt(i)->GetId());
        return ids;
    }
    // From the second character of "Intro" to the second of "see ".
    TAction* DeleteAcross()
    {
        DocSelection across(DocPosition(list->GetAt(1)->GetRow(), 2), DocPosition(list->GetAt(4)->GetRow(), 2));
        return new TDeleteAction(across);
    }

    std::unique_ptr<CCorvellDoc> doc;
    ParagraphList* list = nullptr;
    ParagraphComp* equation = nullptr;
    CrossRefComp* reference = nullptr;
    HostView view;
    ActionHost host{view};
};

TEST_F(UndoKeepsParagraphIdsTest, UndoOfAMultiParagraphDeletePutsTheParagraphsBackWithTheirIds)
{
    const auto ids = Ids();
    const int32_t equationId = equation->GetId();
    ASSERT_EQ(reference->GetNumber(), equationId);
    const auto before = ParagraphBytes();

    ASSERT_TRUE(host.Perform(DeleteAcross()));
    ASSERT_STREQ(Text(*doc).c_str(), "Iee ");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        host.UndoOrRedo();
        list->RelayoutAll(false);
        ASSERT_STREQ(Text(*doc).c_str(), "Intro|x=1|y=2|see ");
        EXPECT_EQ(Ids(), ids);
        EXPECT_EQ(equation->GetId(), equationId);
        EXPECT_EQ(reference->GetTargetParagraph(), equation);
        EXPECT_EQ(reference->GetNumber(), equationId);
        EXPECT_EQ(ParagraphBytes(), before);
        host.UndoOrRedo();
        ASSERT_STREQ(Text(*doc).c_str(), "Iee ");
    }
    host.UndoOrRedo();

    // Saved and opened again, the reference finds the equation by its id.
    const auto path = OutputPath("refs.vxm");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    auto reopened = EmptyDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(path.c_str()));
    ParagraphList* read = reopened->GetParagraphList();
    ASSERT_EQ(read->GetCount(), 4);
    auto* readRef = dynamic_cast<CrossRefComp*>(read->GetAt(4)->GetRow()->GetAt(5));
    ASSERT_NE(readRef, nullptr);
    EXPECT_EQ(readRef->GetTargetParagraph(), read->GetAt(3));
}

TEST_F(UndoKeepsParagraphIdsTest, NoIdIsHandedOutTwiceAndDroppedRecordsReturnTheirIds)
{
    ASSERT_TRUE(host.Perform(DeleteAcross()));
    host.UndoOrRedo();
    // A new paragraph after the undo gets an id no other paragraph carries.
    ParagraphComp* added = AddParagraph(*doc, "new");
    std::set<int32_t> distinct;
    for (int32_t id : Ids())
        EXPECT_TRUE(distinct.insert(id).second) << id;
    EXPECT_NE(added->GetId(), 0);

    // Redo takes them out again; dropping the record for another action
    // destroys them and gives their ids back to the pool.
    host.UndoOrRedo();
    const int32_t freeBefore = doc->GetIdPool().GetFreeCount();
    ASSERT_TRUE(host.Perform(new TTypingAction(DocSelection(DocPosition(list->GetAt(1)->GetRow(), 2),
                                                            DocPosition(list->GetAt(1)->GetRow(), 2)))));
    EXPECT_GE(doc->GetIdPool().GetFreeCount(), freeBefore + 3);
}

} // namespace
