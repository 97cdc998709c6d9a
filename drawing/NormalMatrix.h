#pragma once
// The normal matrix of the numeric solver's least-squares step: A A^T, where
// A is the Jacobian when it has fewer rows (equations) than columns
// (variables) and its transpose otherwise. Only the upper triangle is
// stored. Its pattern is built once from the Jacobian's, together with the
// products each stored value sums, so that a Newton step fills it in one
// pass over them.
#include <Eigen/SparseCore>

#include <vector>

// A sparse pattern as lists: list i holds entries[start[i]] up to
// entries[start[i + 1]] in ascending order of index, each the index on the
// other side and the entry's slot among the Jacobian's stored values.
struct SparsePattern {
    struct Entry {
        int index;
        int slot;
    };
    std::vector<int> start{0};
    std::vector<Entry> entries;

    int GetListCount() const { return static_cast<int>(start.size()) - 1; }
    // The same pattern listed the other way round, in count lists.
    SparsePattern Transposed(int count) const;
};

class NormalMatrix {
public:
    using Matrix = Eigen::SparseMatrix<double>;

    // From the Jacobian's pattern by rows over cols columns.
    void Build(const SparsePattern& jacobianRows, int cols);
    bool OfRows() const { return m_ofRows; }
    // The values from the Jacobian's stored values, with a tiny multiple of
    // the largest diagonal entry added to the diagonal, so that a
    // rank-deficient Jacobian still gives a step.
    void Fill(const double* jacobian, double regularisation);
    const Matrix& Get() const { return m_matrix; }

private:
    // One product J(first) J(second) that stored value `normal` sums.
    struct Term {
        int first;
        int second;
        int normal;
    };

    void BuildFrom(const SparsePattern& rowsOfA, const SparsePattern& columnsOfA);

    Matrix m_matrix;
    std::vector<Term> m_terms;
    std::vector<int> m_diagonal;
    bool m_ofRows = true;
};
