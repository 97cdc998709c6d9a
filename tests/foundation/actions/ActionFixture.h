#pragma once
// A document of three paragraphs edited through a view stand-in that keeps
// its selection and runs actions through an ActionHost, and a document
// whose paragraph ids come from an id pool (released ids come back first,
// paragraphs put back by an undo get their own ids again), so that removing
// and re-inserting paragraphs stores the same bytes.
#include "support/model/NumberingFixture.h"

#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/IdPool.h"
#include "foundation/TAction.h"

#include <memory>
#include <string>
#include <vector>

class PoolDocument : public TestDocument {
public:
    void RegisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(pool->Allocate()); }
    void UnregisterParagraph(ParagraphComp& paragraph) override
    {
        pool->Release(paragraph.GetId());
        paragraph.SetId(0);
    }
    // As the document class does: a paragraph an undo record holds keeps its id.
    void DetachParagraph(ParagraphComp& paragraph) override
    {
        paragraph.ReserveId(paragraph.GetId(), pool);
        paragraph.SetId(0);
    }
    void ReturnParagraph(ParagraphComp& paragraph) override
    {
        int32_t kept = paragraph.TakeReservedId(pool.get());
        if (kept != 0)
            paragraph.SetId(kept);
        else
            RegisterParagraph(paragraph);
    }
    std::shared_ptr<IdPool> pool = std::make_shared<IdPool>();
};

class FakeView : public ActionView {
public:
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int paragraphIndex, int) override { lastLayoutFrom = paragraphIndex; }
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection& s) override { invalidated.push_back(s); }
    void ShowSelection(const DocSelection& s) override { shown = s; }
    ParagraphList* GetParagraphList() const override { return paragraphs; }

    DocSelection selection;
    DocSelection shown;
    std::vector<DocSelection> invalidated;
    ParagraphList* paragraphs = nullptr;
    int lastLayoutFrom = 0;
    bool modified = false;
};

// A fraction that takes the selected content into its numerator.
class WrappingFraction : public TestFraction {
public:
    bool AcceptsSelection() const override { return true; }
};

// The document "abcdef" [Frac "xy" over "z"] | "hello" | "world".
class ActionTest : public NumberingTest {
protected:
    ActionTest() : list(&doc)
    {
        auto top = Chars("abcdef");
        fraction = new TestFraction(Chars("xy"), Chars("z"));
        top->Append(fraction);
        list.Append(new ParagraphComp(std::move(top), 3));
        Add(list, "hello", 3);
        Add(list, "world", 3);
    }

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    DocSelection Range(int pa, int ia, int pb, int ib) const { return DocSelection(At(pa, ia), At(pb, ib)); }
    DocSelection Caret(int paragraph, int index) const { return Range(paragraph, index, paragraph, index); }
    std::vector<uint8_t> Bytes() const { return WriteList(list); }
    std::string Str() const { return Text(list); }

    // Performs the action through the view on the selection it was made for.
    bool Run(TAction* action) { return host.Perform(action); }

    PoolDocument doc;
    ParagraphList list;
    TestFraction* fraction;
    FakeView view;
    ActionHost host{view};
};
