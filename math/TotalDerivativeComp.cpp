#include "math/TotalDerivativeComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

TotalDerivativeComp::TotalDerivativeComp() : m_differential(new TotalDifferentialComp)
{
    AdoptItem(m_differential);
    SetSizeStep(m_sizeStep);
}

TotalDerivativeComp::TotalDerivativeComp(TotalDifferentialComp* differential) : m_differential(differential)
{
    AdoptItem(m_differential);
    SetSizeStep(m_sizeStep);
}

TotalDerivativeComp::TotalDerivativeComp(std::unique_ptr<CompArray> operand, TotalDifferentialComp* differential)
    : DerivativeComp(std::move(operand)), m_differential(differential)
{
    AdoptItem(m_differential);
    SetSizeStep(m_sizeStep);
}

TotalDerivativeComp::~TotalDerivativeComp()
{
    delete m_differential;
}

TextComp* TotalDerivativeComp::Clone(LinkRemap& remap)
{
    auto* differential = static_cast<TotalDifferentialComp*>(m_differential->Clone(remap));
    auto* copy = new TotalDerivativeComp(m_first->CloneItems(remap), differential);
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

Rect TotalDerivativeComp::MeasureDenominator(int)
{
    m_differential->Measure();
    Rect D;
    m_differential->GetBounds(D);
    return D;
}

void TotalDerivativeComp::SetOrigin(const IntPoint& point)
{
    const int u = Unit();
    PlaceNumerator(point, u);
    Rect D;
    m_differential->GetBounds(D);
    m_differential->SetOrigin(
        IntPoint(point.x + (m_bounds.right - D.right) / 2, point.y + m_axis + u / 2 - D.top));
}

void TotalDerivativeComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    m_differential->VariableRow()->Write(writer);
    m_differential->OrderRow()->Write(writer);
}

void TotalDerivativeComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_first->Read(reader);
    m_differential->VariableRow()->Read(reader);
    m_differential->OrderRow()->Read(reader);
}
