#include "drawing/ConstraintCluster.h"

#include "drawing/DrawVariable.h"
#include "drawing/NamedValuesSnapshot.h"
#include "kernel/ListNodes.h"

#include <utility>

VarSnapshot::VarSnapshot(DrawVariable* variable) : m_variable(variable), m_saved(variable->GetValue()) {}

void VarSnapshot::Capture() { m_saved = m_variable->GetValue(); }

void VarSnapshot::Swap()
{
    Swap(m_variable->GetValue());
}

void VarSnapshot::Swap(double present)
{
    m_variable->SetValue(m_saved);
    m_saved = present;
}

ConstraintCluster::ConstraintCluster() = default;

ConstraintCluster::~ConstraintCluster() = default;

ExprNode* ConstraintCluster::Finalize() { return new ListNode; }

void ConstraintCluster::Commit()
{
    for (VarSnapshot& snapshot : m_working)
        snapshot.Capture();
}

void ConstraintCluster::Restore()
{
    for (VarSnapshot& snapshot : m_working) {
        snapshot.Swap();
        snapshot.Capture();
    }
}

// The table and the snapshots may hold the same named variable: every
// present value is read before any is put back.
void ConstraintCluster::SwapGathered()
{
    std::vector<double> present;
    present.reserve(m_gathered.size());
    for (const VarSnapshot& snapshot : m_gathered)
        present.push_back(snapshot.GetVariable()->GetValue());
    if (m_named)
        m_named->Swap();
    for (size_t i = 0; i < m_gathered.size(); ++i)
        m_gathered[i].Swap(present[i]);
}

void ConstraintCluster::GatherNamed(std::unique_ptr<NamedValuesSnapshot> named)
{
    m_named = std::move(named);
}

std::unique_ptr<NamedValuesSnapshot> ConstraintCluster::TakeNamed()
{
    return std::move(m_named);
}

void ConstraintCluster::AddSnapshots(DrawVariable* variable)
{
    m_working.emplace_back(variable);
    m_gathered.emplace_back(variable);
}

void ConstraintCluster::Follow(DrawVariable* variable, double value)
{
    m_gathered.emplace_back(variable);
    variable->SetValue(value);
    m_working.emplace_back(variable);
}

double ConstraintCluster::CommittedValue(const DrawVariable* variable) const
{
    for (; m_placed < m_working.size(); ++m_placed)
        m_places.emplace(m_working[m_placed].GetVariable(), m_placed);
    const auto at = m_places.find(variable);
    return at == m_places.end() ? variable->GetValue() : m_working[at->second].GetSaved();
}
