#include "foundation/StyleTable.h"

#include "foundation/CentredStyle.h"
#include "foundation/LabelledStyle.h"
#include "foundation/NumberedEquationStyle.h"
#include "foundation/PlainParagraphStyle.h"
#include "foundation/SourceCodeStyle.h"
#include "platform/Exceptions.h"

StyleTable* gStyleTable = nullptr;

ParagraphStyle* StyleTable::Lookup(int index)
{
    if (!gStyleTable)
        throw CException("The paragraph styles are not set up");
    return gStyleTable->GetStyle(index);
}

StyleTable::StyleTable()
{
    // Made in the order plain, section, numbered equation, title, numbered
    // paragraph, heading, equation, source code, itemized, sub-enumerated,
    // sub-itemized.
    m_styles[StyleKind::kPlain] = std::make_unique<PlainParagraphStyle>();
    m_styles[StyleKind::kSection] = std::make_unique<SectionStyle>();
    m_styles[StyleKind::kNumberedEquation] = std::make_unique<NumberedEquationStyle>();
    m_styles[StyleKind::kTitle] = std::make_unique<TitleStyle>();
    m_styles[StyleKind::kNumbered] = std::make_unique<NumberedParagraphStyle>();
    m_styles[StyleKind::kHeading] = std::make_unique<HeadingStyle>();
    m_styles[StyleKind::kEquation] = std::make_unique<EquationStyle>();
    m_styles[StyleKind::kSourceCode] = std::make_unique<SourceCodeStyle>();
    m_styles[StyleKind::kItemized] = std::make_unique<ItemizedParagraphStyle>();
    m_styles[StyleKind::kSubEnumerated] = std::make_unique<SubEnumeratedParagraphStyle>();
    m_styles[StyleKind::kSubItemized] = std::make_unique<SubItemizedParagraphStyle>();
}
