#include "app/TextSearcher.h"

#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"

#include <algorithm>
#include <vector>

TextSearcher::TextSearcher(ParagraphList& paragraphs, const DocPosition& start, std::unique_ptr<CompList> pattern,
                           bool advanceFirst)
    : m_paragraphs(paragraphs), m_pattern(pattern ? std::move(pattern) : std::make_unique<CompList>())
{
    Restart(start);
    m_advanceFirst = advanceFirst;
}

void TextSearcher::Restart(const DocPosition& start)
{
    m_depth = -1;
    m_lastMatched = false;
    m_advanceFirst = false;
    m_list = nullptr;
    m_index = 1;
    ParagraphComp* paragraph = start.GetParagraphComp();
    m_paragraphIndex = paragraph ? m_paragraphs.IndexOf(paragraph) : 0;
    if (m_paragraphIndex == 0) {
        // Not a place of this document: search it from its start.
        if (m_paragraphs.GetCount() > 0) {
            m_paragraphIndex = 1;
            m_list = m_paragraphs.GetAt(1)->GetRow();
        }
        return;
    }
    CompList* row = paragraph->GetRow();

    // The rows from the position's up to the paragraph's, each with the index
    // of the component that holds the row below it.
    std::vector<Place> path;
    CompList* list = start.GetList();
    int32_t index = start.GetKind() == DocPosition::kListPlace ? start.GetIndex()
                    : start.GetObject()                         ? start.GetObject()->IndexInOwner()
                                                                : 1;
    path.push_back({list, std::max(index, 1)});
    while (list && list != row) {
        TextComp* owner = list->GetOwner();
        CompList* up = owner ? owner->GetOwner() : nullptr;
        if (!up)
            break;
        path.push_back({up, up->Find(owner)});
        list = up;
    }
    if (list != row)
        path.assign(1, {row, std::max(start.GetParagraphIndex(true), 1)});
    std::reverse(path.begin(), path.end());
    if (path.size() > size_t(kMaxDepth) + 1)
        path.resize(size_t(kMaxDepth) + 1);
    for (size_t i = 0; i + 1 < path.size(); ++i)
        Push(path[i].list, path[i].index);
    m_list = path.back().list;
    m_index = path.back().index;
}

void TextSearcher::Push(CompList* list, int32_t index)
{
    ++m_depth;
    m_stackLists[size_t(m_depth)] = list;
    m_stackIndexes[size_t(m_depth)] = index;
}

void TextSearcher::SetFindText(const Str255& text)
{
    auto pattern = std::make_unique<CompList>();
    for (int i = 0; i < text.GetLength(); ++i)
        pattern->Append(gTextFace->GetCharacter(text.GetByteAt(i)));
    SetPattern(std::move(pattern));
}

void TextSearcher::SetPattern(std::unique_ptr<CompList> pattern)
{
    // A match of another pattern has another length: replacing it with this
    // pattern's length would remove the wrong components.
    if (!pattern->IsEqual(*m_pattern))
        m_lastMatched = false;
    m_pattern = std::move(pattern);
}

bool TextSearcher::Advance()
{
    if (!m_list)
        return false;
    do {
        TextComp* comp = m_list->GetAt(m_index);
        CompList* child = comp && m_depth + 1 < kMaxDepth ? comp->GetListRight(nullptr) : nullptr;
        if (child) {
            Push(m_list, m_index);
            m_list = child;
            m_index = 1;
        } else if (m_index >= m_list->GetCount()) {
            TextComp* owner = m_depth >= 0 ? m_list->GetOwner() : nullptr;
            CompList* next = owner ? owner->GetListRight(m_list) : nullptr;
            if (next && next != m_list) {
                m_list = next;
                m_index = 1;
            } else if (m_depth < 0) {
                if (m_paragraphIndex >= m_paragraphs.GetCount())
                    return false;
                ++m_paragraphIndex;
                m_list = m_paragraphs.GetAt(m_paragraphIndex)->GetRow();
                m_index = 1;
            } else {
                m_list = m_stackLists[size_t(m_depth)];
                m_index = m_stackIndexes[size_t(m_depth)] + 1;
                --m_depth;
            }
        } else {
            ++m_index;
        }
    } while (!InsideCurrentList());
    return true;
}

bool TextSearcher::MatchesHere() const
{
    const int n = m_pattern->GetCount();
    if (n + m_index > m_list->GetCount() + 1)
        return false;
    for (int k = 1; k <= n; ++k) {
        TextComp* wanted = m_pattern->GetAt(k);
        TextComp* here = m_list->GetAt(m_index + k - 1);
        if (!here || !wanted->IsEqual(*here))
            return false;
    }
    return true;
}

bool TextSearcher::Find()
{
    m_lastMatched = false;
    if (!m_list)
        return false;
    const Walk before = SaveWalk();
    if (Search())
        return true;
    RestoreWalk(before);
    return false;
}

TextSearcher::Walk TextSearcher::SaveWalk() const
{
    return {m_stackLists, m_stackIndexes, m_depth, m_paragraphIndex, m_list, m_index, m_advanceFirst};
}

void TextSearcher::RestoreWalk(const Walk& walk)
{
    m_stackLists = walk.stackLists;
    m_stackIndexes = walk.stackIndexes;
    m_depth = walk.depth;
    m_paragraphIndex = walk.paragraphIndex;
    m_list = walk.list;
    m_index = walk.index;
    m_advanceFirst = walk.advanceFirst;
}

bool TextSearcher::Search()
{
    if (m_advanceFirst && !Advance())
        return false;
    for (;;) {
        if (MatchesHere()) {
            m_advanceFirst = true;
            m_lastMatched = true;
            return true;
        }
        if (!Advance())
            return false;
    }
}

DocSelection TextSearcher::GetMatch() const
{
    if (!m_list)
        return DocSelection();
    return DocSelection(m_list, m_index, m_index + m_pattern->GetCount());
}

std::unique_ptr<CompArray> TextSearcher::ReplacementComponents(FontFace* face) const
{
    auto components = std::make_unique<CompArray>();
    if (m_replaceList) {
        LinkRemap remap;
        components = m_replaceList->CloneItems(remap);
        remap.RebindLinks();
        return components;
    }
    for (int i = 0; i < m_replaceText.GetLength(); ++i)
        components->Append(face->GetCharacter(m_replaceText.GetByteAt(i)));
    return components;
}

DocSelection TextSearcher::Replace()
{
    if (!m_lastMatched || !m_list)
        return DocSelection();
    m_lastMatched = false;
    FontFace* face = GetMatch().GetCommonFont();
    if (!face)
        face = gTextFace;
    std::unique_ptr<CompArray> inserted = ReplacementComponents(face);
    const int count = inserted->GetCount();

    const int n = m_pattern->GetCount();
    if (n > 0) {
        std::unique_ptr<CompArray> removed = m_list->RemoveRange(m_index, m_index + n - 1);
        for (int i = 1; i <= removed->GetCount(); ++i)
            removed->GetAt(i)->Delete();
    }
    const int32_t first = m_index;
    m_list->InsertAllAt(std::move(inserted), first);
    m_index = first + count;
    m_advanceFirst = false;
    return DocSelection(m_list, first, m_index);
}

int32_t TextSearcher::GetTopIndex() const
{
    return m_depth < 0 ? m_index : m_stackIndexes[0];
}
