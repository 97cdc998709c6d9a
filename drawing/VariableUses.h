#pragma once
// The variables of a list of equations, numbered in the order first met,
// and for each number the equations that use it: what the numeric solver
// walks to gather a cluster, built without a lookup by address at each step
// of the walk.
#include "drawing/ItemArray.h"

#include <span>
#include <vector>

class ConstraintEqn;
class DrawVariable;

class VariableUses {
public:
    // The variables given are numbered too, after those of the equations.
    VariableUses(const std::vector<ConstraintEqn*>& equations, const ItemArray<DrawVariable>& given);

    int GetCount() const { return m_count; }
    // The number of field k of equation e.
    int FieldNumber(int e, int k) const
    {
        return m_fieldNumbers[static_cast<size_t>(m_fieldStart[static_cast<size_t>(e)] + k)];
    }
    // The number of given variable i.
    int GivenNumber(int i) const { return m_given[static_cast<size_t>(i)]; }
    // The equations that use variable n, once for each field that holds it.
    std::span<const int> Users(int n) const
    {
        const auto begin = static_cast<size_t>(m_usersStart[static_cast<size_t>(n)]);
        const auto end = static_cast<size_t>(m_usersStart[static_cast<size_t>(n) + 1]);
        return {m_users.data() + begin, end - begin};
    }

private:
    int m_count = 0;
    std::vector<int> m_fieldStart{0};
    std::vector<int> m_fieldNumbers;
    std::vector<int> m_given;
    std::vector<int> m_usersStart;
    std::vector<int> m_users;
};
