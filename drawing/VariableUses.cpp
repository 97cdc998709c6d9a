#include "drawing/VariableUses.h"

#include "drawing/ConstraintEqn.h"

#include <memory_resource>
#include <unordered_map>

VariableUses::VariableUses(const std::vector<ConstraintEqn*>& equations, const ItemArray<DrawVariable>& given)
{
    // The table lives for this constructor only: its entries come from one
    // block, freed at once, instead of one allocation each.
    const size_t most = 2 * equations.size() + static_cast<size_t>(given.GetCount());
    std::pmr::monotonic_buffer_resource arena(most * 4 * sizeof(void*));
    std::pmr::unordered_map<const DrawVariable*, int> numbers(&arena);
    numbers.reserve(most);
    auto numberOf = [&numbers](const DrawVariable* variable) {
        return numbers.try_emplace(variable, static_cast<int>(numbers.size())).first->second;
    };
    for (const ConstraintEqn* eqn : equations) {
        for (int k = 0; k < eqn->GetFieldCount(); ++k)
            m_fieldNumbers.push_back(numberOf(eqn->GetField(k)));
        m_fieldStart.push_back(static_cast<int>(m_fieldNumbers.size()));
    }
    for (const DrawVariable* variable : given)
        m_given.push_back(numberOf(variable));
    m_count = static_cast<int>(numbers.size());

    m_usersStart.assign(static_cast<size_t>(m_count) + 1, 0);
    for (int n : m_fieldNumbers)
        ++m_usersStart[static_cast<size_t>(n) + 1];
    for (size_t n = 0; n < static_cast<size_t>(m_count); ++n)
        m_usersStart[n + 1] += m_usersStart[n];
    m_users.resize(m_fieldNumbers.size());
    std::vector<int> next(m_usersStart.begin(), m_usersStart.end() - 1);
    for (size_t e = 0; e < equations.size(); ++e)
        for (int f = m_fieldStart[e]; f < m_fieldStart[e + 1]; ++f)
            m_users[static_cast<size_t>(next[static_cast<size_t>(m_fieldNumbers[static_cast<size_t>(f)])]++)] =
                static_cast<int>(e);
}
