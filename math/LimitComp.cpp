#include "math/LimitComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/SizeStepScope.h"
#include "math/RowForms.h"

#include <algorithm>

namespace {

const char kWord[] = "lim";

} // namespace

LimitComp::LimitComp() : m_word(new CompList(Str255(kWord)))
{
    AdoptRow(m_word);
    SetSizeStep(m_sizeStep);
}

LimitComp::LimitComp(std::unique_ptr<CompArray> approach)
    : StructComp(std::move(approach)), m_word(new CompList(Str255(kWord)))
{
    AdoptRow(m_word);
    SetSizeStep(m_sizeStep);
}

LimitComp::~LimitComp()
{
    delete m_word;
}

TextComp* LimitComp::Clone(LinkRemap& remap)
{
    auto* copy = new LimitComp(m_first->CloneItems(remap));
    if (!HasStandardWord()) {
        delete copy->m_word;
        copy->m_word = m_word->CloneWithRemap(remap);
        copy->AdoptRow(copy->m_word);
    }
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

void LimitComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(step);
    m_word->SetSizeStep(step);
}

bool LimitComp::HasStandardWord() const
{
    if (m_word->GetCount() != 3)
        return false;
    for (int i = 1; i <= 3; ++i) {
        TextComp* comp = m_word->GetAt(i);
        if (comp->Tag() != tag_Char || comp->GetChar() != static_cast<unsigned char>(kWord[i - 1]))
            return false;
    }
    return true;
}

void LimitComp::Measure()
{
    m_word->LayoutToContextWidth();
    m_first->LayoutToContextWidth();
    const Rect word = m_word->GetRect();
    const Rect A = m_first->GetRect();
    int u;
    {
        SizeStepScope size(m_sizeStep);
        u = gDrawContext.GetSizeUnit();
    }
    m_bounds = word;
    m_bounds.left = 0;
    m_bounds.bottom += A.Height() + u;
    m_bounds.right = std::max(word.Width(), A.right);
    m_needsLayout = 0;
}

void LimitComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    int u;
    {
        SizeStepScope size(m_sizeStep);
        u = gDrawContext.GetSizeUnit();
    }
    const int W = m_bounds.right;
    const Rect word = m_word->GetRect();
    const Rect A = m_first->GetRect();
    m_word->SetOrigin(IntPoint(point.x + (W - word.right) / 2, point.y));
    m_first->SetOrigin(IntPoint(point.x + (W - A.right) / 2, point.y - A.top + word.bottom + u));
}

void LimitComp::Draw()
{
    m_word->Draw();
    m_first->Draw();
}

void LimitComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\lim_");
    RowForms::WriteGroup(writer, *m_first);
}

void LimitComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("lim");
    RowForms::WriteLimit(out, "_", *m_first);
    out.WriteChar(' ');
}

// The record is the approach; a word the user has changed follows it, so
// records of the standard word stay as they always were and readers that do
// not know the word skip it at the record's end.
void LimitComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    if (!HasStandardWord())
        m_word->Write(writer);
}

void LimitComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_first->Read(reader);
    if (reader.BytesLeft() > 0) {
        auto* word = new CompList;
        try {
            word->Read(reader);
        } catch (...) {
            delete word;
            throw;
        }
        delete m_word;
        m_word = word;
        AdoptRow(m_word);
        m_word->SetSizeStep(m_sizeStep);
    }
}
