#pragma once
// Makes a cross-reference component to a label. Selections copy a
// paragraph's number label as a reference; the reference class lives with
// the math components, which install their maker when they register.
class EquationLabel;
class TextComp;

using CrossRefMakerFn = TextComp* (*)(EquationLabel* label);

void SetCrossRefMaker(CrossRefMakerFn maker);
// A new reference linked to the label; null when no maker is installed.
TextComp* MakeCrossRef(EquationLabel* label);
