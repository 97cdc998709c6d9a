#include "drawing/NormalMatrix.h"

#include <algorithm>
#include <cmath>
#include <numeric>

SparsePattern SparsePattern::Transposed(int count) const
{
    SparsePattern out;
    out.start.assign(static_cast<size_t>(count) + 1, 0);
    for (const Entry& entry : entries)
        ++out.start[static_cast<size_t>(entry.index) + 1];
    std::partial_sum(out.start.begin(), out.start.end(), out.start.begin());
    out.entries.resize(entries.size());
    std::vector<int> next(out.start.begin(), out.start.end() - 1);
    for (int i = 0; i < GetListCount(); ++i)
        for (int e = start[static_cast<size_t>(i)]; e < start[static_cast<size_t>(i) + 1]; ++e) {
            const Entry& entry = entries[static_cast<size_t>(e)];
            out.entries[static_cast<size_t>(next[static_cast<size_t>(entry.index)]++)] = {i, entry.slot};
        }
    return out;
}

void NormalMatrix::Build(const SparsePattern& jacobianRows, int cols)
{
    m_ofRows = jacobianRows.GetListCount() <= cols;
    const SparsePattern jacobianColumns = jacobianRows.Transposed(cols);
    if (m_ofRows)
        BuildFrom(jacobianRows, jacobianColumns);
    else
        BuildFrom(jacobianColumns, jacobianRows);
}

// Column b holds row a <= b when rows a and b of A share a column g, and
// each product A(a, g) A(b, g) is a term of that entry. Every diagonal entry
// is stored, also of a row without entries, for the regularisation.
void NormalMatrix::BuildFrom(const SparsePattern& rowsOfA, const SparsePattern& columnsOfA)
{
    const int size = rowsOfA.GetListCount();
    std::vector<int> outer{0};
    std::vector<int> inner;
    // The column in which row a was listed last, and its slot there.
    std::vector<int> listedIn(static_cast<size_t>(size), -1);
    std::vector<int> slot(static_cast<size_t>(size));
    m_terms.clear();
    m_diagonal.clear();
    for (int b = 0; b < size; ++b) {
        const size_t first = inner.size();
        const size_t firstTerm = m_terms.size();
        for (int e = rowsOfA.start[static_cast<size_t>(b)]; e < rowsOfA.start[static_cast<size_t>(b) + 1]; ++e) {
            const SparsePattern::Entry& atB = rowsOfA.entries[static_cast<size_t>(e)];
            const auto g = static_cast<size_t>(atB.index);
            for (int f = columnsOfA.start[g]; f < columnsOfA.start[g + 1]; ++f) {
                const SparsePattern::Entry& atA = columnsOfA.entries[static_cast<size_t>(f)];
                // Each list is in ascending order.
                if (atA.index > b)
                    break;
                if (listedIn[static_cast<size_t>(atA.index)] != b) {
                    listedIn[static_cast<size_t>(atA.index)] = b;
                    inner.push_back(atA.index);
                }
                // The row for now; its slot once the column is sorted.
                m_terms.push_back({atA.slot, atB.slot, atA.index});
            }
        }
        if (listedIn[static_cast<size_t>(b)] != b)
            inner.push_back(b);
        std::sort(inner.begin() + static_cast<std::ptrdiff_t>(first), inner.end());
        for (size_t s = first; s < inner.size(); ++s)
            slot[static_cast<size_t>(inner[s])] = static_cast<int>(s);
        for (size_t t = firstTerm; t < m_terms.size(); ++t)
            m_terms[t].normal = slot[static_cast<size_t>(m_terms[t].normal)];
        m_diagonal.push_back(static_cast<int>(inner.size()) - 1);
        outer.push_back(static_cast<int>(inner.size()));
    }
    m_matrix.resize(size, size);
    m_matrix.resizeNonZeros(static_cast<Eigen::Index>(inner.size()));
    std::copy(outer.begin(), outer.end(), m_matrix.outerIndexPtr());
    std::copy(inner.begin(), inner.end(), m_matrix.innerIndexPtr());
}

void NormalMatrix::Fill(const double* jacobian, double regularisation)
{
    double* values = m_matrix.valuePtr();
    std::fill(values, values + m_matrix.nonZeros(), 0.0);
    for (const Term& term : m_terms)
        values[term.normal] += jacobian[term.first] * jacobian[term.second];
    double largest = 0.0;
    for (int d : m_diagonal)
        largest = std::max(largest, std::fabs(values[d]));
    const double shift = regularisation * std::max(largest, 1e-300);
    for (int d : m_diagonal)
        values[d] += shift;
}
