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
    m_styles[3] = std::make_unique<PlainParagraphStyle>();
    m_styles[1] = std::make_unique<SectionStyle>();
    m_styles[6] = std::make_unique<NumberedEquationStyle>();
    m_styles[0] = std::make_unique<TitleStyle>();
    m_styles[4] = std::make_unique<NumberedParagraphStyle>();
    m_styles[2] = std::make_unique<HeadingStyle>();
    m_styles[5] = std::make_unique<EquationStyle>();
    m_styles[7] = std::make_unique<SourceCodeStyle>();
    m_styles[8] = std::make_unique<ItemizedParagraphStyle>();
    m_styles[9] = std::make_unique<SubEnumeratedParagraphStyle>();
    m_styles[10] = std::make_unique<SubItemizedParagraphStyle>();
}
