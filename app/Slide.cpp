#include "app/Slide.h"

#include <algorithm>

void Slide::Append(ParagraphComp* paragraph)
{
    if (GetCount() >= kMaxParagraphs)
        return;
    m_paragraphs.reserve(m_paragraphs.size() + 1);
    m_paragraphs.push_back(paragraph);
}

void Slide::Forget(const ParagraphComp* paragraph)
{
    std::erase(m_paragraphs, paragraph);
}

bool Slide::Contains(const ParagraphComp* paragraph) const
{
    return std::find(m_paragraphs.begin(), m_paragraphs.end(), paragraph) != m_paragraphs.end();
}
