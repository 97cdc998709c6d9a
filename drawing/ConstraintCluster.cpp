#include "drawing/ConstraintCluster.h"

#include "drawing/DrawVariable.h"
#include "kernel/ListNodes.h"

VarSnapshot::VarSnapshot(DrawVariable* variable) : m_variable(variable), m_saved(variable->GetValue()) {}

void VarSnapshot::Capture() { m_saved = m_variable->GetValue(); }

void VarSnapshot::Swap()
{
    const double previous = m_variable->GetValue();
    m_variable->SetValue(m_saved);
    m_saved = previous;
}

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

void ConstraintCluster::SwapGathered()
{
    for (VarSnapshot& snapshot : m_gathered)
        snapshot.Swap();
}

void ConstraintCluster::AddSnapshots(DrawVariable* variable)
{
    m_places.emplace(variable, m_working.size());
    m_working.emplace_back(variable);
    m_gathered.emplace_back(variable);
}

double ConstraintCluster::CommittedValue(const DrawVariable* variable) const
{
    const auto at = m_places.find(variable);
    return at == m_places.end() ? variable->GetValue() : m_working[at->second].GetSaved();
}
