#pragma once
// A component made of equation rows (the equation set) that an equation
// paragraph can write as the rows of an eqnarray environment.
class LaTeXWriter;

class EquationRows {
public:
    virtual ~EquationRows() = default;
    // The rows, between the writer's eqnarray opening and closing.
    virtual void WriteLaTeXRows(LaTeXWriter& writer) = 0;
};
