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
    for (int kind = 1; kind <= 10; ++kind) {
        list.Append(Paragraph(kind, text));
        for (int at : {40, 300, 700})
            list.GetAt(kind)->GetRow()->InsertAt(new FixedBox(at == 300 ? 2 * PageWidth() : 30), at);
    }
    list.RelayoutAll(false);
    using Shown = std::vector<std::tuple<std::string, int, int, int, int, int>>;
    const auto shown = [](const ParagraphList& paragraphs) {
        Shown out;
        for (int p = 1; p <= paragraphs.GetCount(); ++p) {
            Rect ink;
            paragraphs.GetAt(p)->GetAbsInkBounds(ink);
            out.emplace_back("paragraph", p, ink.left, ink.top, ink.right, ink.bottom);
            const LayoutArray& items = *paragraphs.GetAt(p)->GetRow()->GetItems();
            const std::vector<std::string> names = Items(*paragraphs.GetAt(p)->GetRow());
            for (int i = 1; i <= items.GetCount(); ++i) {
                const Layout& item = *items.GetAt(i);
                auto* line = dynamic_cast<const LineLayout*>(&item);
                const Rect r = item.AbsRect();
                out.emplace_back(names[size_t(i - 1)] +
                                     (line ? "/" + std::to_string(line->GetLineWidth()) : ""),
                                 item.GetStartIndex(), r.left, r.top, r.right, r.bottom);
            }
        }
        return out;
    };
    const auto afresh = [&] {
        ParagraphList copy(&document);
        for (int p = 1; p <= list.GetCount(); ++p)
            copy.Append(list.GetAt(p)->CloneWithLinks());
        copy.RelayoutAll(false);
        return shown(copy);
    };
    const auto lineStart = [](CompList& row, int line) {
        std::vector<Layout*> lines = ItemsOf(row, tag_line);
        return lines[size_t(std::min(line, int(lines.size())) - 1)]->GetStartIndex();
    };
    TextComp* e = fonts.GetFace(0)->GetCharacter('e');
    TextComp* blank = fonts.GetFace(0)->GetCharacter(' ');
    const std::vector<std::pair<const char*, std::function<int(CompList&)>>> edits = {
        {"a letter mid-row", [&](CompList& row) { row.InsertAt(e, 500); return 500; }},
        {"a blank at a line's end", [&](CompList& row) { const int at = lineStart(row, 3) - 1; row.InsertAt(blank, at); return at; }},
        {"a letter starting a line", [&](CompList& row) { const int at = lineStart(row, 4); row.InsertAt(e, at); return at; }},
        {"a span across a line break", [&](CompList& row) { const int at = lineStart(row, 2) - 3; row.RemoveRange(at, at + 6); return at; }},
        {"a line's first word cut to a letter", [&](CompList& row) {
             for (int line = 3;; ++line) {
                 const int at = lineStart(row, line);
                 auto* word = dynamic_cast<CharacterLayout*>(row.ItemForIndex(at));
                 if (word && word->Tag() == tag_word && word->GetLength() >= 3) {
                     row.RemoveRange(at + 1, at + word->GetLength() - 1);
                     return at + 1;
                 }
             }
         }},
        {"a line's worth", [&](CompList& row) { row.RemoveRange(200, 260); return 200; }},
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
        {"the first component", [&](CompList& row) { row.RemoveAt(1)->Delete(); return 1; }},
        {"a word at the end", [&](CompList& row) { row.InsertAllAt(Chars(" endings"), row.GetCount() + 1); return row.GetCount(); }},
        {"nothing", [&](CompList&) { return 1; }},
    };
    int partial = 0;
    for (const auto& [name, edit] : edits) {
        for (int p = 1; p <= list.GetCount(); ++p) {
            const Shown before = shown(list);
            const int at = edit(*list.GetAt(p)->GetRow());
            target.invalidated.clear();
            list.UpdateLayoutFrom(p, at);
            const ParagraphLayout::LayoutState& state = list.GetAt(p)->GetLayoutState();
            partial += state.IsPartial();
            if (std::string(name) == "a letter mid-row") {
                // Only the lines around the key are made anew.
                int lines = 0;
                for (int i = state.first; i < state.end; ++i)
                    lines += list.GetAt(p)->GetRow()->GetItems()->GetAt(i)->IsLine();
                EXPECT_TRUE(state.IsPartial() && lines <= 4) << "paragraph " << p << ": " << lines << " lines";
            }
            const Shown now = shown(list);
            const Shown whole = afresh();
            const auto [mine, theirs] = std::mismatch(now.begin(), now.end(), whole.begin(), whole.end());
            const auto describe = [](const Shown& items, Shown::const_iterator at) {
                return at == items.end() ? std::string("nothing")
                                         : std::get<0>(*at) + " " + std::to_string(std::get<3>(*at)) + "-" +
                                               std::to_string(std::get<5>(*at));
            };
            ASSERT_TRUE(mine == now.end() && theirs == whole.end())
                << name << " in paragraph " << p << ": " << describe(now, mine) << " where a whole layout has "
                << describe(whole, theirs);
            // What shows: the kind of item and its box, wherever it starts in the row.
            const auto shows = [](const Shown& items) {
                std::set<std::tuple<std::string, int, int, int, int>> out;
                for (const auto& [label, start, left, top, right, bottom] : items)
                    out.emplace(label.substr(0, label.find('@')), left, top, right, bottom);
                return out;
            };
            const auto showing = shows(before);
            for (const auto& item : now) {
                const auto& [label, start, left, top, right, bottom] = item;
                if (label == "paragraph" || showing.count({label.substr(0, label.find('@')), left, top, right, bottom}))
                    continue;
                const Rect box(left, top, right, bottom);
                EXPECT_TRUE(box.IsEmpty() ||
                            std::any_of(target.invalidated.begin(), target.invalidated.end(), [&](const Rect& area) {
                                return area.left <= box.left && area.top <= box.top && area.right >= box.right &&
                                       area.bottom >= box.bottom;
                            }))
                    << name << " in paragraph " << p << ": " << label << " is not repainted";
            }
        }
    }
    EXPECT_GT(partial, 80);
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
