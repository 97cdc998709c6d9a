#pragma once
// The codes of the calculations the kernel offers for a selection, and the
// placements it suggests for their answers. The program hands a code back
// unchanged as the mode of VXEvaluate.

namespace kernelproc {

enum CalculationCode : int {
    kCalcNothing = 0,
    kCalcEvaluate = 1,
    kCalcExpand = 2,
    kCalcFactor = 3,
    kCalcNumeric = 4,
    kCalcSolve = 5,
    kCalcDifferentiate = 6,
    kCalcIntegrate = 7,
    kCalcPartialFractions = 8,
    kCalcDeterminant = 9,
    kCalcLaplace = 10,
    kCalcPlot = 11,
    kCalcTreatAsConstant = 12,
    kCalcTreatAsVariable = 13,
    kCalcInverse = 14,
    kCalcTranspose = 15,
    kCalcEigenvalues = 16,
    kCalcFourier = 17,
    kCalcTogether = 18,
    kCalcSimplify = 19,
    kCalcAddToDrawing = 20,
};

// Where the program puts an answer.
enum Placement : int {
    kPlaceNewParagraph = 0,
    kPlaceCheckConstant = 2,
    kPlaceUncheckConstant = 3,
    kPlaceNewParagraphWhole = 6,   // the answer in place of the part sent, in the whole formula
    kPlaceEquals = 7,
    kPlaceReplacePart = 8,
    kPlaceDrawing = 9,              // the answer's shapes added to the drawing the formula is in
};

constexpr int kMaxChoices = 16;

} // namespace kernelproc
