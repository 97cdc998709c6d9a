#include "app/SlideList.h"

#include "app/CCorvellDoc.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DocWriter.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

SlideList::~SlideList() = default;

void SlideList::MarkModified()
{
    if (auto* doc = dynamic_cast<CCorvellDoc*>(m_paragraphs->GetDocument()))
        doc->SetModifiedFlag(TRUE);
}

Slide& SlideList::LastSlide()
{
    if (m_slides.empty())
        m_slides.push_back(std::make_unique<Slide>());
    return *m_slides.back();
}

// ---- building ----

void SlideList::NewSlide()
{
    if (GetCount() < kMaxSlides)
        m_slides.push_back(std::make_unique<Slide>());
    MarkModified();
}

void SlideList::AddSelection(const DocSelection& selection)
{
    Slide& slide = LastSlide();
    int first = m_paragraphs->IndexOf(selection.First().GetParagraphComp());
    int second = m_paragraphs->IndexOf(selection.Second().GetParagraphComp());
    if (first > 0 && second > 0) {
        for (int i = std::min(first, second); i <= std::max(first, second); ++i)
            slide.Append(m_paragraphs->GetAt(i));
    }
    MarkModified();
}

void SlideList::CloneLast()
{
    if (m_slides.empty())
        return;
    if (GetCount() < kMaxSlides)
        m_slides.push_back(std::make_unique<Slide>(*m_slides.back()));
    MarkModified();
}

void SlideList::DeleteAll()
{
    Clear();
    MarkModified();
}

void SlideList::Clear()
{
    m_slides.clear();
    m_current = 0;
}

void SlideList::Reorder(const int* order, int n)
{
    std::vector<std::unique_ptr<Slide>> old = std::move(m_slides);
    // Where each old slide went, for a slide named a second time.
    std::unordered_map<int, size_t> placed;
    for (int i = 0; i < n && order; ++i) {
        int from = order[i];
        if (from < 0 || from >= static_cast<int>(old.size()))
            continue;
        auto it = placed.find(from);
        if (it != placed.end()) {
            m_slides.push_back(std::make_unique<Slide>(*m_slides[it->second]));
        } else {
            placed[from] = m_slides.size();
            m_slides.push_back(std::move(old[static_cast<size_t>(from)]));
        }
    }
    m_current = 0;
}

// ---- the show ----

// Only paragraphs of the list are touched: one that an undo step holds
// outside the list stays as it is.
void SlideList::ShowCurrent()
{
    const Slide& slide = *m_slides[static_cast<size_t>(m_current)];
    std::unordered_set<const ParagraphComp*> shown;
    for (int32_t i = 0; i < slide.GetCount(); ++i)
        shown.insert(slide.GetAt(i));
    for (int i = 1; i <= m_paragraphs->GetCount(); ++i) {
        ParagraphComp* paragraph = m_paragraphs->GetAt(i);
        if (shown.count(paragraph) != 0)
            paragraph->Show();
        else
            paragraph->Hide();
    }
    m_paragraphs->StackVisible();
}

void SlideList::StartShow()
{
    m_current = 0;
    if (!m_slides.empty())
        ShowCurrent();
}

void SlideList::Next()
{
    if (m_current < GetCount() - 1) {
        ++m_current;
        ShowCurrent();
    }
}

void SlideList::Previous()
{
    if (m_current > 0 && !m_slides.empty()) {
        m_current = static_cast<int16_t>(std::min<int>(m_current - 1, GetCount() - 1));
        ShowCurrent();
    }
}

void SlideList::EndShow()
{
    m_paragraphs->ShowAll();
    m_paragraphs->StackVisible();
}

// ---- storage ----

void SlideList::SetCount(int16_t count)
{
    if (count < 0)
        throw CFormatException("The slide count is negative");
    Clear();
    for (int16_t i = 0; i < count; ++i)
        m_slides.push_back(std::make_unique<Slide>());
}

void SlideList::Write(DocWriter& writer) const
{
    std::unordered_map<const ParagraphComp*, int32_t> index;
    for (int i = 1; i <= m_paragraphs->GetCount(); ++i)
        index.emplace(m_paragraphs->GetAt(i), i);
    for (const auto& slide : m_slides) {
        std::vector<int32_t> stored;
        for (int32_t i = 0; i < slide->GetCount(); ++i) {
            auto it = index.find(slide->GetAt(i));
            if (it != index.end())
                stored.push_back(it->second);
        }
        writer.WriteShort(static_cast<int16_t>(static_cast<uint16_t>(stored.size())));
        for (int32_t i : stored)
            writer.WriteLong(i);
    }
}

void SlideList::Read(DocReader& reader)
{
    if (GetCount() > reader.BytesLeft() / 2)
        throw CFormatException("The slide count is larger than the data that follows");
    for (const auto& slide : m_slides) {
        int32_t count = reader.ReadUShort();
        if (count > reader.BytesLeft() / 4)
            throw CFormatException("A slide names more paragraphs than the data that follows");
        for (int32_t n = 0; n < count; ++n) {
            int32_t i = reader.ReadLong();
            if (i >= 1 && i <= m_paragraphs->GetCount())
                slide->Append(m_paragraphs->GetAt(i));
        }
    }
}

void SlideList::Forget(const ParagraphComp* paragraph)
{
    for (const auto& slide : m_slides)
        slide->Forget(paragraph);
}
