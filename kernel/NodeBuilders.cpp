#include "kernel/NodeBuilders.h"

#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/Str255.h"

#include <string>

namespace {

constexpr int32_t kSquare = 2;

ExprNode* Coordinate(ExprNode* point, int index, const char* function)
{
    auto* pointNode = dynamic_cast<PointNode*>(point);
    if (pointNode && pointNode->Count() >= index) {
        ExprNode* coordinate = pointNode->ChildAt(index);
        pointNode->Unlink(coordinate);
        delete pointNode;
        return coordinate;
    }
    return new FunctionNode(new SymbolNode(std::string(function)), point);
}

} // namespace

ExprNode* MakeIntegerNode(int32_t value)
{
    return new IntegerNode(value);
}

ExprNode* MakeRealNode(double value)
{
    return new RealNode(value);
}

ExprNode* MakeSum(ExprNode* a, ExprNode* b)
{
    auto* sum = new SumNode(a);
    sum->AppendChild(b);
    return sum;
}

ExprNode* MakeDifference(ExprNode* a, ExprNode* b)
{
    return MakeSum(a, MakeProduct(MakeIntegerNode(-1), b));
}

ExprNode* MakeProduct(ExprNode* a, ExprNode* b)
{
    auto* product = new ProductNode(a);
    product->AppendChild(b);
    return product;
}

ExprNode* MakeQuotient(ExprNode* numerator, ExprNode* denominator)
{
    return new DivideNode(numerator, denominator);
}

ExprNode* MakeSquare(ExprNode* x)
{
    return new PowerNode(MakeIntegerNode(kSquare), x, false);
}

ExprNode* MakePower(ExprNode* base, ExprNode* exponent)
{
    return new PowerNode(exponent, base, false);
}

ExprNode* MakeSqrt(ExprNode* x)
{
    return new RadicalNode(x, nullptr);
}

ExprNode* MakeFunction(const Str255& name, ExprNode* argument)
{
    return new FunctionNode(new SymbolNode(std::string(name.GetPtrAt(0), std::size_t(name.GetLength()))), argument);
}

ExprNode* MakeRelation(ExprNode* left, ExprNode* right)
{
    auto* relation = new RelationNode(left);
    relation->AppendChild(new SymbolNode(Entry::Equal));
    relation->AppendChild(right);
    return relation;
}

ExprNode* MakeXCoord(ExprNode* point)
{
    return Coordinate(point, 1, "QVXCoord");
}

ExprNode* MakeYCoord(ExprNode* point)
{
    return Coordinate(point, 2, "QVYCoord");
}
