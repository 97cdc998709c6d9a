// Laying a document out again, reuse of item arrays, and the run extent cache.
#include "LayoutTestSupport.h"

#include "foundation/CharacterLayout.h"
#include "foundation/FontIds.h"
#include "foundation/LineLayout.h"
#include "foundation/RunExtentCache.h"
#include "foundation/SizeStepScope.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

class RelayoutTest : public LayoutTest {
protected:
    // One paragraph of each style, text long enough for several lines.
    void Fill(ParagraphList& list)
    {
        const std::string text = "the layout of a paragraph breaks lines at blanks and spreads slack over "
                                 "words f(x)=y 2.5 x+1 matrix sum integral function value number";
        for (int kind = 1; kind <= 10; ++kind)
            list.Append(Paragraph(kind, text));
    }

    static std::vector<std::vector<std::string>> AllItems(const ParagraphList& list)
    {
        std::vector<std::vector<std::string>> all;
        for (int i = 1; i <= list.GetCount(); ++i)
            all.push_back(Items(*list.GetAt(i)->GetRow()));
        return all;
    }

    // Removes positions first..last and deletes what they held.
    static void Remove(CompList& row, int first, int last)
    {
        const std::unique_ptr<CompArray> removed = row.RemoveRange(first, last);
        for (int i = 1; i <= removed->GetCount(); ++i)
            removed->GetAt(i)->Delete();
    }

    // What a list shows: each paragraph's items, each as its kind (a line
    // with its width), row position and absolute box, then its ink bounds.
    using Shown = std::vector<std::tuple<std::string, int, int, int, int, int>>;
    static Shown ShownBy(const ParagraphList& list)
    {
        Shown out;
        for (int p = 1; p <= list.GetCount(); ++p) {
            const LayoutArray& items = *list.GetAt(p)->GetRow()->GetItems();
            const std::vector<std::string> names = Items(*list.GetAt(p)->GetRow());
            for (int i = 1; i <= items.GetCount(); ++i) {
                const Layout& item = *items.GetAt(i);
                auto* line = dynamic_cast<const LineLayout*>(&item);
                const Rect r = item.AbsRect();
                const std::string name = names[size_t(i - 1)];
                out.emplace_back(name.substr(0, name.find('@')) +
                                     (line ? "/" + std::to_string(line->GetLineWidth()) : ""),
                                 item.GetStartIndex(), r.left, r.top, r.right, r.bottom);
            }
            Rect ink;
            list.GetAt(p)->GetAbsInkBounds(ink);
            out.emplace_back("paragraph", p, ink.left, ink.top, ink.right, ink.bottom);
        }
        return out;
    }

    // What a whole layout of fresh copies of the paragraphs shows.
    Shown ShownAfresh(const ParagraphList& list)
    {
        ParagraphList copy(&document);
        for (int p = 1; p <= list.GetCount(); ++p)
            copy.Append(list.GetAt(p)->CloneWithLinks());
        copy.RelayoutAll(false);
        return ShownBy(copy);
    }

    // Lays paragraph p out after an edit at position at, as the editor does:
    // it must show as a whole layout of fresh copies, and every item that
    // shows anew or no longer shows must be repainted.
    ::testing::AssertionResult RelaysAsAWholeLayout(ParagraphList& list, int p, int at)
    {
        const Shown before = ShownBy(list);
        target.invalidated.clear();
        list.UpdateLayoutFrom(p, at);
        const Shown now = ShownBy(list);
        const Shown whole = ShownAfresh(list);
        const auto [mine, theirs] = std::mismatch(now.begin(), now.end(), whole.begin(), whole.end());
        const auto describe = [](const Shown& items, Shown::const_iterator item) {
            if (item == items.end())
                return std::string("nothing");
            const auto& [name, start, left, top, right, bottom] = *item;
            return name + "@" + std::to_string(start) + " (" + std::to_string(left) + "," + std::to_string(top) +
                ")-(" + std::to_string(right) + "," + std::to_string(bottom) + ")";
        };
        if (mine != now.end() || theirs != whole.end())
            return ::testing::AssertionFailure()
                << describe(now, mine) << " where a whole layout has " << describe(whole, theirs);
        // What shows: the kind of item and its box, wherever it starts in the row.
        using Box = std::tuple<std::string, int, int, int, int>;
        const auto shows = [](const Shown& items) {
            std::set<Box> out;
            for (const auto& [name, start, left, top, right, bottom] : items)
                if (name != "paragraph" && right > left && bottom > top)
                    out.emplace(name.substr(0, name.find('/')), left, top, right, bottom);
            return out;
        };
        const std::set<Box> was = shows(before), is = shows(now);
        for (const auto* from : {&is, &was})
            for (const Box& item : *from) {
                if ((from == &is ? was : is).count(item))
                    continue;
                const auto& [name, left, top, right, bottom] = item;
                const Rect box(left, top, right, bottom);
                const bool covered =
                    std::any_of(target.invalidated.begin(), target.invalidated.end(), [&box](const Rect& area) {
                        return area.left <= box.left && area.top <= box.top && area.right >= box.right &&
                            area.bottom >= box.bottom;
                    });
                if (!covered)
                    return ::testing::AssertionFailure() << name << (from == &is ? " shown" : " no longer shown")
                                                         << " at (" << left << "," << top << ") is not repainted";
            }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(RelayoutTest, LayingOutAgainGivesTheSameItemsEveryTime)
{
    ParagraphList list(&document);
    Fill(list);
    list.RelayoutAll(false);
    const auto first = AllItems(list);
    const int height = list.GetHeight();
    for (int round = 0; round < 3; ++round) {
        list.RelayoutAll(false);
        EXPECT_EQ(AllItems(list), first) << "round " << round;
        EXPECT_EQ(list.GetHeight(), height);
    }

    // Typing and taking the character out again, then a full layout.
    CompList* row = list.GetAt(4)->GetRow();
    row->InsertAt(fonts.GetFace(0)->GetCharacter('e'), 10);
    list.UpdateLayoutFrom(4, 10);
    EXPECT_NE(AllItems(list)[3], first[3]);
    row->RemoveAt(10);
    list.UpdateLayoutFrom(4, 10);
    list.RelayoutAll(false);
    EXPECT_EQ(AllItems(list), first);
}

TEST_F(RelayoutTest, TypingAfterAFullLayoutInvalidatesOnlyTheChange)
{
    ParagraphList list(&document);
    Fill(list);
    list.RelayoutAll(false);
    list.RelayoutAll(false);
    CompList* row = list.GetAt(3)->GetRow();
    const int end = row->GetCount();
    Rect before;
    list.GetAt(4)->GetAbsBounds(before);
    row->Append(fonts.GetFace(0)->GetCharacter('s'));
    target.invalidated.clear();
    list.UpdateLayoutFrom(3, end + 1);
    ASSERT_FALSE(target.invalidated.empty());
    // The items kept from the layout before show that only the last word
    // changed: nothing left of it is invalidated, the next paragraph stays.
    Layout* last = ItemsOf(*row, tag_word).back();
    for (const Rect& r : target.invalidated)
        EXPECT_GE(r.left, last->AbsRect().left);
    Rect after;
    list.GetAt(4)->GetAbsBounds(after);
    EXPECT_EQ(after, before);

    // Typed near the start, a character moves where every later item starts
    // in the row; items that show the same in the same place are not
    // invalidated, though they start one place later.
    const auto shown = [&] {
        std::set<std::tuple<int, int, int, int, std::string>> items;
        for (int i = 1; i <= row->GetItems()->GetCount(); ++i) {
            const Layout* item = row->GetItems()->GetAt(i);
            const Rect r = item->AbsRect();
            auto* run = dynamic_cast<const CharacterLayout*>(item);
            items.emplace(r.left, r.top, r.right, r.bottom, run ? run->GetText().CStr() : "");
        }
        return items;
    };
    const auto old = shown();
    row->InsertAt(fonts.GetFace(0)->GetCharacter('e'), 2);
    target.invalidated.clear();
    list.UpdateLayoutFrom(3, 2);
    const auto now = shown();
    ASSERT_FALSE(target.invalidated.empty());
    for (const auto& item : now) {
        if (!old.count(item))
            continue;
        for (const Rect& r : target.invalidated)
            EXPECT_FALSE(r == Rect(std::get<0>(item), std::get<1>(item), std::get<2>(item), std::get<3>(item)))
                << std::get<4>(item) << " is invalidated";
    }

    // In the middle of a paragraph of many full lines (a long answer) every
    // later item moves: each old and new place is invalidated, as a few
    // bands from the changed line down rather than item by item.
    auto* answer = new ParagraphComp(3);
    for (int i = 0; i < 600; ++i)
        answer->GetRow()->Append(new FixedBox(20 + i * 7 % 31));
    list.Append(answer);
    list.UpdateLayoutFrom(list.GetCount(), 1);
    // Where each component shows.
    const auto boxes = [answer] {
        std::map<const TextComp*, Rect> out;
        const LayoutArray& items = *answer->GetRow()->GetItems();
        for (int i = 1; i <= items.GetCount(); ++i)
            if (!items.GetAt(i)->IsLine())
                out[answer->GetRow()->GetAt(items.GetAt(i)->GetStartIndex())] = items.GetAt(i)->AbsRect();
        return out;
    };
    const auto early = boxes();
    answer->GetRow()->InsertAt(new FixedBox(37), 300);
    target.invalidated.clear();
    list.UpdateLayoutFrom(list.GetCount(), 300);
    EXPECT_LE(target.invalidated.size(), 2u);
    const auto covered = [&](const Rect& box) {
        return std::any_of(target.invalidated.begin(), target.invalidated.end(), [&](const Rect& area) {
            return area.left <= box.left && area.top <= box.top && area.right >= box.right && area.bottom >= box.bottom;
        });
    };
    int moved = 0;
    for (const auto& [comp, now] : boxes()) {
        const Rect before = early.count(comp) ? early.at(comp) : Rect();
        if (before == now)
            continue;
        ++moved;
        EXPECT_TRUE(covered(now) && (before.IsEmpty() || covered(before))) << now.left << "," << now.top << " is not invalidated";
    }
    EXPECT_GT(moved, 100);
}

// Each edit, laid out as the editor does (in part, from the layout before),
// shows exactly as a whole layout of the same paragraphs made afresh, and
// every item that moved is repainted.
TEST_F(RelayoutTest, EditsLaidOutInPartShowAsAWholeLayoutOfTheSameRows)
{
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "the layout of a paragraph breaks lines at blanks  and\tspreads slack f(x)=y 2.5 x+1 ";
    ParagraphList list(&document);
    for (int kind = 0; kind <= 10; ++kind) {
        list.Append(Paragraph(kind, text));
        for (int at : {40, 300, 700})
            list.GetAt(kind + 1)->GetRow()->InsertAt(new FixedBox(at == 300 ? 2 * PageWidth() : 30), at);
    }
    list.RelayoutAll(false);
    const auto lineStart = [](CompList& row, int line) {
        std::vector<Layout*> lines = ItemsOf(row, tag_line);
        return lines[size_t(std::min(line, int(lines.size())) - 1)]->GetStartIndex();
    };
    // Each row's boxes of a run without blanks put in at the start of its
    // line 3, after "M = ", three quarters of the line together.
    std::map<const CompList*, std::vector<FixedBox*>> runs;
    TextComp* e = fonts.GetFace(0)->GetCharacter('e');
    TextComp* blank = fonts.GetFace(0)->GetCharacter(' ');
    const std::vector<std::pair<const char*, std::function<int(CompList&)>>> edits = {
        {"a letter mid-row", [&](CompList& row) { row.InsertAt(e, 500); return 500; }},
        {"a blank at a line's end", [&](CompList& row) { const int at = lineStart(row, 3) - 1; row.InsertAt(blank, at); return at; }},
        {"a letter starting a line", [&](CompList& row) { const int at = lineStart(row, 4); row.InsertAt(e, at); return at; }},
        {"a span across a line break", [&](CompList& row) { const int at = lineStart(row, 2) - 3; Remove(row, at, at + 6); return at; }},
        {"a line's first word cut to a letter", [&](CompList& row) {
             for (int line = 3;; ++line) {
                 const int at = lineStart(row, line);
                 auto* word = dynamic_cast<CharacterLayout*>(row.ItemForIndex(at));
                 if (word && word->Tag() == tag_word && word->GetLength() >= 3) {
                     Remove(row, at + 1, at + word->GetLength() - 1);
                     return at + 1;
                 }
             }
         }},
        {"a line's worth", [&](CompList& row) { Remove(row, 200, 260); return 200; }},
        {"a box wider than the page", [&](CompList& row) { row.InsertAt(new FixedBox(3 * PageWidth()), 450); return 450; }},
        {"a box changed inside", [&](CompList& row) {
             for (int i = row.GetCount(); i >= 1; --i)
                 if (auto* box = dynamic_cast<FixedBox*>(row.GetAt(i))) {
                     box->Resize(90);
                     return i;
                 }
             return 1;
         }},
        {"the mathematics face over a span", [&](CompList& row) { row.SetFont(FontId::kMath, 100, 140); return 100; }},
        {"a run of boxes without blanks", [&](CompList& row) {
             const int at = lineStart(row, 3);
             row.InsertAllAt(Chars("M = "), at);
             for (int i = 0; i < 3; ++i) {
                 runs[&row].push_back(new FixedBox(PageWidth() / 4));
                 row.InsertAt(runs[&row].back(), at + 4 + i);
             }
             return at;
         }},
        {"the run's last box grown", [&](CompList& row) { runs[&row][2]->Resize(PageWidth() / 2, 30, 10); return 1; }},
        {"the run's last box shrunk", [&](CompList& row) { runs[&row][2]->Resize(PageWidth() / 8); return 1; }},
        {"the run's first box past the page", [&](CompList& row) { runs[&row][0]->Resize(PageWidth() + 9); return 1; }},
        {"the run's first box shrunk", [&](CompList& row) { runs[&row][0]->Resize(10, 4, 2); return 1; }},
        {"the first component", [&](CompList& row) { row.RemoveAt(1)->Delete(); return 1; }},
        {"a box wider than the page typed first", [&](CompList& row) {
             row.InsertAt(new FixedBox(PageWidth() + 30), 1);
             return 1;
         }},
        {"a word at the end", [&](CompList& row) { row.InsertAllAt(Chars(" endings"), row.GetCount() + 1); return row.GetCount(); }},
        {"nothing", [&](CompList&) { return 1; }},
        // Laid out whole: a row without items to keep, and the row after it.
        {"every component", [&](CompList& row) { Remove(row, 1, row.GetCount()); return 1; }},
        {"a line typed into the empty row", [&](CompList& row) {
             row.InsertAllAt(Chars(text.substr(0, 120)), 1);
             return 1;
         }},
    };
    int partial = 0;
    for (const auto& [name, edit] : edits) {
        for (int p = 1; p <= list.GetCount(); ++p) {
            const int at = edit(*list.GetAt(p)->GetRow());
            ASSERT_TRUE(RelaysAsAWholeLayout(list, p, at)) << name << " in paragraph " << p;
            const ParagraphLayout::LayoutState& state = list.GetAt(p)->GetLayoutState();
            partial += state.IsPartial();
            if (std::string(name) == "a letter mid-row") {
                // Only the lines around the key are made anew.
                int lines = 0;
                for (int i = state.first; i < state.end; ++i)
                    lines += list.GetAt(p)->GetRow()->GetItems()->GetAt(i)->IsLine();
                EXPECT_TRUE(state.IsPartial() && lines <= 4) << "paragraph " << p << ": " << lines << " lines";
                // Nor is the first line repainted, its label included.
                const int32_t firstLine = ItemsOf(*list.GetAt(p)->GetRow(), tag_line)[0]->AbsRect().bottom;
                for (const Rect& area : target.invalidated)
                    EXPECT_GE(area.top, firstLine) << "paragraph " << p << " is repainted from its first line";
            }
            if (std::string(name) == "every component" || std::string(name) == "a line typed into the empty row") {
                EXPECT_FALSE(state.IsPartial()) << name << " in paragraph " << p;
            }
        }
    }
    EXPECT_GT(partial, 150);
}

// Seeded random edits of every style's paragraph: letters, blanks, tabs,
// spans removed or set in another face, boxes and runs of boxes put in,
// boxes resized in width and in height; after each step the paragraph shows
// as a whole layout of fresh copies, and what moved is repainted.
TEST_F(RelayoutTest, RandomEditsLaidOutInPartShowAsAWholeLayout)
{
    for (int sequence = 0; sequence < 200; ++sequence) {
        std::mt19937 random{uint32_t(sequence)};
        const auto below = [&](int n) { return int(random() % uint32_t(std::max(n, 1))); };
        const int kind = sequence % 11;
        ParagraphList list(&document);
        list.Append(Paragraph(3, "before"));
        list.Append(Paragraph(kind, ""));
        CompList& row = *list.GetAt(2)->GetRow();
        const int fontId = list.GetAt(2)->GetStyle()->GetFontId();
        // Gives a box a random size: in a row, a change inside it.
        const auto resized = [&](FixedBox* box) {
            const int widths[] = {4, 30, PageWidth() / 4, PageWidth() / 2, PageWidth() + 25};
            box->Resize(widths[below(5)], 2 + below(40), 1 + below(20));
            return box;
        };
        for (int i = 0; i < 40; ++i)
            row.InsertAllAt(Chars(i % 5 == 4 ? "x=y " : "word ", fontId), row.GetCount() + 1);
        list.RelayoutAll(false);
        std::string steps;
        for (int step = 0; step < 25; ++step) {
            const int at = 1 + below(row.GetCount() + 1);
            const int op = below(9);
            steps += std::to_string(op) + "@" + std::to_string(at) + " ";
            switch (op) {
            case 0: row.InsertAllAt(Chars(std::string(1 + below(8), 'w'), fontId), at); break;
            case 1: row.InsertAllAt(Chars(std::string(1, " +\t"[below(3)]), fontId), at); break;
            case 2: Remove(row, at, at + below(12)); break;
            case 3:
            case 4:
                for (int i = 0, n = op == 3 ? 1 : 2 + below(3); i < n; ++i)
                    row.InsertAt(resized(new FixedBox(0)), at + i);
                break;
            case 5: row.SetFont(below(2) ? FontId::kMath : fontId, at, at + below(20)); break;
            default: { // any box of the row
                std::vector<FixedBox*> boxes;
                for (int i = 1; i <= row.GetCount(); ++i)
                    if (auto* box = dynamic_cast<FixedBox*>(row.GetAt(i)))
                        boxes.push_back(box);
                if (!boxes.empty())
                    resized(boxes[size_t(below(int(boxes.size())))]);
                break;
            }
            }
            if (const auto relaid = RelaysAsAWholeLayout(list, 2, at); !relaid) {
                ADD_FAILURE() << "sequence " << sequence << " (style " << kind << "), steps " << steps << ": "
                              << relaid.message();
                break;
            }
        }
    }
}

TEST_F(RelayoutTest, LayingOutFromAParagraphVisitsEveryLaterOneThatNeedsLayout)
{
    // A change far below the typing (a reference told of a new number) is laid
    // out with it, though the paragraphs in between stay as they were.
    ParagraphList list(&document);
    Fill(list);
    list.RelayoutAll(false);
    Rect third;
    list.GetAt(3)->GetAbsBounds(third);
    const auto eighth = Items(*list.GetAt(8)->GetRow());
    list.GetAt(2)->GetRow()->InsertAt(fonts.GetFace(0)->GetCharacter('e'), 3);
    list.GetAt(8)->GetRow()->InsertAt(fonts.GetFace(0)->GetCharacter('x'), 1);
    list.UpdateLayoutFrom(2, 3);
    Rect after;
    list.GetAt(3)->GetAbsBounds(after);
    ASSERT_EQ(after, third);
    EXPECT_FALSE(list.GetAt(8)->NeedsLayout());
    EXPECT_NE(Items(*list.GetAt(8)->GetRow()), eighth);
}

TEST_F(RelayoutTest, RunExtentsFromTheCacheEqualDirectMeasurement)
{
    const std::vector<std::string> texts = {"word", "f(x)=y", "     ", std::string("a\0b", 3),
                                            std::string(31, 'm'), std::string(40, 'w'), ""};
    for (int round = 0; round < 2; ++round) {  // filled, then answered from the cache
        for (int fontId : {0, 1, 3, 5}) {
            for (int step : {0, 2}) {
                for (const std::string& text : texts) {
                    SCOPED_TRACE(text + " font " + std::to_string(fontId) + " step " + std::to_string(step));
                    SizeStepScope size(step);
                    Rect cached;
                    RunExtentCache::GetTextExtent(fontId, text.data(), int(text.size()), cached);
                    EXPECT_EQ(gDrawContext.GetFontFamily(), fontId);
                    Str255 str;
                    for (char c : text)
                        str.AppendChar(c);
                    Rect direct;
                    gDrawContext.GetTextExtent(str, direct);
                    EXPECT_EQ(cached, direct);
                }
            }
        }
    }
}

TEST_F(RelayoutTest, RunExtentsFollowFaceChanges)
{
    Rect plain;
    RunExtentCache::GetTextExtent(0, Str255("Wide words"), plain);
    EXPECT_EQ(plain.Width(), Width("Wide words", 0));

    // The text face becomes the code face: the cached extent is not reused.
    TextPrefs code = prefs;
    code.textFont = prefs.codeFont;
    fonts.UpdateTextFaces(code);
    gDrawContext.SelectCurrentFont();
    Rect changed;
    RunExtentCache::GetTextExtent(0, Str255("Wide words"), changed);
    EXPECT_EQ(changed.Width(), Width("Wide words", 4));
    EXPECT_NE(changed.Width(), plain.Width());
    fonts.UpdateTextFaces(prefs);
    gDrawContext.SelectCurrentFont();
}

} // namespace
