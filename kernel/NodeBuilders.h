#pragma once
// Free functions that build expression trees from parts, so that code outside
// the kernel translation (the drawing model's equations) can state formulas
// without knowing the node classes. Every builder takes ownership of the
// nodes it is given.
#include <cstdint>

class ExprNode;
class Str255;

ExprNode* MakeIntegerNode(int32_t value);
ExprNode* MakeRealNode(double value);
ExprNode* MakeSum(ExprNode* a, ExprNode* b);
// a + (-1) b
ExprNode* MakeDifference(ExprNode* a, ExprNode* b);
ExprNode* MakeProduct(ExprNode* a, ExprNode* b);
ExprNode* MakeQuotient(ExprNode* numerator, ExprNode* denominator);
ExprNode* MakeSquare(ExprNode* x);
ExprNode* MakePower(ExprNode* base, ExprNode* exponent);
ExprNode* MakeSqrt(ExprNode* x);
// A free head of the given name (no name-table lookup) applied to the argument.
ExprNode* MakeFunction(const Str255& name, ExprNode* argument);
// left == right
ExprNode* MakeRelation(ExprNode* left, ExprNode* right);
// The first (second) coordinate of a drawing point, else QVXCoord[node] (QVYCoord[node]).
ExprNode* MakeXCoord(ExprNode* point);
ExprNode* MakeYCoord(ExprNode* point);
