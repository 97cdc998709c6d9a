#include "kernel/SumProductNodes.h"

#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NodeSettings.h"
#include "kernel/NodeSupport.h"
#include "kernel/PowerNodes.h"

#include <vector>

namespace {

constexpr unsigned char kMinus = 45;
constexpr unsigned char kPlus = 43;

void AppendSign(CompList& list, int sign)
{
    if (sign == 1)
        nodes::AppendMathChar(list, kMinus);
    else if (sign == 2)
        nodes::AppendMathChar(list, MathChar::PlusMinus);
    else
        nodes::AppendMathChar(list, kPlus);
}

const char* SignText(int sign)
{
    return sign == 1 ? "-" : sign == 2 ? "&PlusMinus;" : "+";
}

} // namespace

// ---- sum ----

CompositeNode* SumNode::NewWithFirstClone() const
{
    return new SumNode(m_first ? m_first->Clone() : nullptr);
}

void SumNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXPlus", m_count);
    PutChildren(link, mode);
}

void SumNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "Plus", m_count);
    PutPlainChildren(link);
}

void SumNode::BuildComponents(CompList& list, int level)
{
    std::vector<ExprNode*> terms;
    for (ExprNode* child = m_first; child; child = child->next)
        terms.push_back(child);
    if (NodeSettings::Get().termOrdering) {
        std::vector<int> keys;
        for (ExprNode* term : terms)
            keys.push_back(term->GetTermOrderKey());
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (std::size_t i = 1; i < terms.size(); ++i) {
                if (keys[i] < keys[i - 1]) {
                    std::swap(keys[i], keys[i - 1]);
                    std::swap(terms[i], terms[i - 1]);
                    swapped = true;
                }
            }
        }
    }
    bool wrap = level > Level::Sum;
    nodes::BuildMaybeWrapped(list, wrap, [&](CompList& target) {
        for (std::size_t i = 0; i < terms.size(); ++i) {
            int sign = terms[i]->TakeSign();
            if (i > 0) {
                nodes::AppendMathChar(target, ' ');
                AppendSign(target, sign);
                nodes::AppendMathChar(target, ' ');
            } else if (sign != 0) {
                AppendSign(target, sign);
            }
            int termLevel = !wrap && sign != 0 ? Level::Product : Level::Sum;
            terms[i]->BuildComponents(target, termLevel);
        }
    });
}

void SumNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    for (ExprNode* child = m_first; child; child = child->next) {
        int sign = child->TakeSign();
        if (child != m_first || sign != 0)
            nodes::WriteMo(writer, SignText(sign));
        child->WriteMathML(writer);
    }
    writer.Close("mrow");
}

bool SumNode::IsSimpleArgument() const
{
    return m_count == 1 && m_first->IsSimpleArgument();
}

bool SumNode::IsNumericExpr() const
{
    for (ExprNode* child = m_first; child; child = child->next)
        if (!child->IsNumericExpr())
            return false;
    return true;
}

double SumNode::GetRealValue() const
{
    double sum = 0.0;
    for (ExprNode* child = m_first; child; child = child->next)
        sum += child->GetRealValue();
    return sum;
}

bool SumNode::SetMover(ExprNode* first, ExprNode* last)
{
    return GroupRun(first, last, new SumNode);
}

void SumNode::Flatten()
{
    SpliceTagged(GetTag());
}

// ---- product ----

ProductNode* AsProduct(ExprNode* node)
{
    if (auto* product = dynamic_cast<ProductNode*>(node))
        return product;
    auto* product = new ProductNode(node);
    return product;
}

CompositeNode* ProductNode::NewWithFirstClone() const
{
    return new ProductNode(m_first ? m_first->Clone() : nullptr);
}

void ProductNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXTimes", m_count);
    PutChildren(link, mode);
}

// f'(x) reads as the product of f' and (x), as a name before parentheses
// does; the plain form, which a notebook shows, writes it as what it stands
// for: the derivative of f applied to x.
void ProductNode::PutPlainForm(MLINK link) const
{
    struct Factor {
        const ExprNode* node;
        const ExprNode* appliedTo;
    };
    std::vector<Factor> factors;
    for (const ExprNode* child = m_first; child; child = child->next) {
        auto* primed = dynamic_cast<const FunctionNode*>(child);
        auto* group = dynamic_cast<const GroupNode*>(child->next);
        if (primed && primed->IsPrimedName() && group && group->IsRound() && group->Child()) {
            factors.push_back({child, group});
            child = group;
        } else {
            factors.push_back({child, nullptr});
        }
    }
    if (factors.size() != 1)
        MLPutFunction(link, "Times", int(factors.size()));
    for (const Factor& factor : factors) {
        if (factor.appliedTo)
            static_cast<const FunctionNode*>(factor.node)->PutPlainCall(link, factor.appliedTo);
        else
            factor.node->PutPlainForm(link);
    }
}

int ProductNode::TakeSign()
{
    for (ExprNode* child = m_first; child; child = child->next) {
        int sign = child->TakeSign();
        if (sign == 0)
            continue;
        // A plus-minus factor is the sign itself: taking it removes it.
        if (dynamic_cast<PlusMinusNode*>(child) && m_count > 1) {
            Unlink(child);
            delete child;
        }
        return sign;
    }
    return 0;
}

void ProductNode::DropUnitFactors()
{
    for (ExprNode* child = m_first; child && m_count >= 2;) {
        ExprNode* following = child->next;
        if (child->IsOne()) {
            Unlink(child);
            delete child;
        }
        child = following;
    }
}

void ProductNode::BuildComponents(CompList& list, int level)
{
    int sign = level != Level::Sum ? TakeSign() : 0;
    DropUnitFactors();
    if (m_count == 0) {
        nodes::AppendMathChar(list, '1');
        return;
    }
    if (m_count == 1 && sign == 0) {
        m_first->BuildComponents(list, level);
        return;
    }
    nodes::BuildMaybeWrapped(list, level > Level::Product, [&](CompList& target) {
        if (sign != 0)
            AppendSign(target, sign);
        int written = 0;
        for (bool numericPass : {true, false}) {
            for (ExprNode* child = m_first; child; child = child->next) {
                if (child->IsNumericFactor() != numericPass)
                    continue;
                ++written;
                if (written < m_count) {
                    child->BuildComponents(target, Level::Product);
                    nodes::AppendMathChar(target, ' ');
                } else {
                    child->BuildComponents(target, Level::LastFactor);
                }
            }
        }
    });
}

void ProductNode::WriteMathML(MathMLOutput& writer)
{
    DropUnitFactors();
    if (m_count >= 2 && m_first->GetTag() == TypeTag("intN") && m_first->GetIntegerValue() == -1 &&
        m_first->next->IsNumericFactor() && m_first->next->IsNumber()) {
        ExprNode* minusOne = m_first;
        m_first->next->Negate();
        Unlink(minusOne);
        delete minusOne;
    }
    if (m_count == 1) {
        m_first->WriteMathML(writer);
        return;
    }
    if (m_count == 0)
        return;
    writer.Open("mrow");
    for (ExprNode* child = m_first; child; child = child->next) {
        if (child != m_first)
            nodes::WriteMo(writer, "&InvisibleTimes;");
        child->WriteMathML(writer);
    }
    writer.Close("mrow");
}

bool ProductNode::NormalizeFractions(ExprNode*& num, ExprNode*& den)
{
    bool changed = false;
    ProductNode* denominator = nullptr;
    for (ExprNode** link = &m_first; *link; link = &(*link)->next) {
        ExprNode* factor = *link;
        ExprNode* n = nullptr;
        ExprNode* d = nullptr;
        if (!factor->NormalizeFractions(n, d))
            continue;
        changed = true;
        if (n != factor) {
            n->next = factor->next;
            factor->next = nullptr;
            *link = n;
            delete factor;
        }
        if (d) {
            d->next = nullptr;
            if (!denominator)
                denominator = new ProductNode(d);
            else
                denominator->AppendChild(d);
        }
    }
    if (!changed)
        return ExprNode::NormalizeFractions(num, den);
    DropUnitFactors();
    if (m_count == 1) {
        num = DetachChildren();
    } else {
        auto* product = new ProductNode;
        product->CopyRangeOf(*this);
        product->m_first = DetachChildren();
        product->Recount();
        num = product;
    }
    // A denominator of one factor is that factor.
    if (denominator && denominator->Count() == 1) {
        den = denominator->DetachChildren();
        delete denominator;
    } else {
        den = denominator;
    }
    return true;
}

bool ProductNode::IsOne() const
{
    return m_count == 1 && m_first->IsOne();
}

bool ProductNode::IsSimpleArgument() const
{
    return m_count == 1 && m_first->IsSimpleArgument();
}

int32_t ProductNode::GetIntegerValue() const
{
    int64_t value = 1;
    for (ExprNode* child = m_first; child; child = child->next)
        value = int64_t(int32_t(value * child->GetIntegerValue()));
    return int32_t(value);
}

bool ProductNode::IsNumericExpr() const
{
    for (ExprNode* child = m_first; child; child = child->next)
        if (!child->IsNumericExpr())
            return false;
    return true;
}

double ProductNode::GetRealValue() const
{
    double value = 1.0;
    for (ExprNode* child = m_first; child; child = child->next)
        value *= child->GetRealValue();
    return value;
}

int ProductNode::GetTermOrderKey() const
{
    int best = 0;
    for (ExprNode* child = m_first; child; child = child->next) {
        int key = child->GetTermOrderKey();
        if (key > 0 && (best == 0 || key < best))
            best = key;
    }
    return best;
}

bool ProductNode::SetMover(ExprNode* first, ExprNode* last)
{
    return GroupRun(first, last, new ProductNode);
}

void ProductNode::Flatten()
{
    SpliceTagged(GetTag());
}

void ProductNode::ApplyMinus(const SourceRange& sign)
{
    if (m_first && m_first->IsNumber()) {
        m_first->Negate();
        m_first->Range().Extend(sign);
    } else {
        Prepend(new IntegerNode(sign, -1));
    }
    Range().Extend(sign);
}

void ProductNode::ApplyPlusMinus(const SourceRange& sign)
{
    Prepend(new PlusMinusNode(sign));
    Range().Extend(sign);
}
