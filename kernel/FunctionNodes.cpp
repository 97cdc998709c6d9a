#include "kernel/FunctionNodes.h"

#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSettings.h"
#include "kernel/NodeSupport.h"
#include "kernel/OperatorNodes.h"
#include "kernel/RelationNodes.h"

#include "math/BracketComp.h"
#include "math/DifferentialComp.h"
#include "math/ExponentComp.h"
#include "math/IntegralComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/RadicalComp.h"
#include "math/SubscriptComp.h"
#include "math/TotalDerivativeComp.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using nodes::PutOrNull;

// The argument as the ItemCount arguments it stands for.
void PutArgument(const ExprNode* argument, MLINK link, int mode, bool plain)
{
    if (argument)
        nodes::PutItems(argument, link, mode, plain);
}

int ItemCount(const ExprNode* node)
{
    return node ? node->GetItemCount() : 0;
}

bool IsOrderOne(const ExprNode* order)
{
    return !order || order->IsOne();
}

double Apply(const std::string& name, double x)
{
    static const struct {
        const char* name;
        double (*f)(double);
    } functions[] = {
        {"VXArcCos", [](double v) { return std::acos(v); }},
        {"VXArcSin", [](double v) { return std::asin(v); }},
        {"VXArcTan", [](double v) { return std::atan(v); }},
        // The program's constant: not the full-precision pi.
        {"VXArg", [](double v) { return v < 0 ? 3.14159265 : 0.0; }},
        {"VXCos", [](double v) { return std::cos(v); }},
        {"VXCosh", [](double v) { return std::cosh(v); }},
        {"VXCot", [](double v) { return 1.0 / std::tan(v); }},
        {"VXCoth", [](double v) { return 1.0 / std::tanh(v); }},
        {"VXCsc", [](double v) { return 1.0 / std::sin(v); }},
        {"VXExp", [](double v) { return std::exp(v); }},
        {"VXLog", [](double v) { return std::log(v); }},
        {"VXSec", [](double v) { return 1.0 / std::cos(v); }},
        {"VXSin", [](double v) { return std::sin(v); }},
        {"VXSinh", [](double v) { return std::sinh(v); }},
        {"VXTan", [](double v) { return std::tan(v); }},
        {"VXTanh", [](double v) { return std::tanh(v); }},
        {"VXArcCot", [](double v) { return std::atan(1.0 / v); }},
        {"VXArcCsc", [](double v) { return std::asin(1.0 / v); }},
        {"VXArcSec", [](double v) { return std::acos(1.0 / v); }},
        {"VXCsch", [](double v) { return 1.0 / std::sinh(v); }},
    };
    for (const auto& function : functions)
        if (name == function.name)
            return function.f(x);
    return 0.0;
}

bool IsLogHead(const ExprNode* head)
{
    const SymbolNode* symbol = AsSymbol(head);
    return symbol && symbol->IsBuiltin() && gBuiltinNames[symbol->Builtin()].kind == NodeKind::Log;
}

int TokenOfHead(const ExprNode* head)
{
    const SymbolNode* symbol = AsSymbol(head);
    return symbol && symbol->IsBuiltin() ? gBuiltinNames[symbol->Builtin()].token : Token::Name;
}

} // namespace

// ---- function application ----

FunctionNode::FunctionNode(ExprNode* head, ExprNode* argument) : FixedNode(2)
{
    SetPart(0, head);
    SetPart(1, argument);
    if (auto* inner = dynamic_cast<FunctionNode*>(head))
        inner->MarkAsFunctionHead();
}

FunctionNode::FunctionNode(const SourceRange& range, ExprNode* head, ExprNode* argument)
    : FunctionNode(head, argument)
{
    SetRange(range);
}

void FunctionNode::PutForm(MLINK link, int mode, bool plain) const
{
    if (const SymbolNode* symbol = AsSymbol(Head())) {
        if (plain)
            symbol->PutPlainHead(link, ItemCount(Argument()));
        else
            symbol->PutPackageHead(link, ItemCount(Argument()));
        PutArgument(Argument(), link, mode, plain);
        return;
    }
    auto* prime = dynamic_cast<PrimeDerivativeNode*>(Head());
    if (prime && !m_isHead) {
        // A prime on an expression: its derivative by the default variable,
        // which the package form leaves to the package's placeholder and the
        // plain form names.
        auto putVariable = [&] {
            if (plain)
                SymbolNode(NodeSettings::Get().defaultVariable).PutPlainForm(link);
            else
                MLPutSymbol(link, "vxDefaultVar");
        };
        MLPutFunction(link, plain ? "Dt" : "VXDt", 2);
        PutOrNull(Argument(), link, mode, plain);
        if (IsOrderOne(prime->Order())) {
            putVariable();
        } else {
            MLPutFunction(link, "List", 2);
            putVariable();
            PutOrNull(prime->Order(), link, mode, plain);
        }
        return;
    }
    MLPutNext(link, MLTKFUNC);
    MLPutArgCount(link, ItemCount(Argument()));
    PutOrNull(Head(), link, mode, plain);
    PutArgument(Argument(), link, mode, plain);
}

bool FunctionNode::IsPrimedName() const
{
    return !m_isHead && dynamic_cast<const PrimeDerivativeNode*>(Head()) && AsSymbol(Argument());
}

void FunctionNode::PutPlainCall(MLINK link, const ExprNode* argument) const
{
    MLPutNext(link, MLTKFUNC);
    MLPutArgCount(link, ItemCount(argument));
    MLPutNext(link, MLTKFUNC);
    MLPutArgCount(link, 1);
    Head()->PutPlainForm(link);
    Argument()->PutPlainForm(link);
    PutArgument(argument, link, 0, true);
}

void FunctionNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void FunctionNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void FunctionNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level > Level::Product, [&](CompList& target) { BuildApplied(target, level); });
}

void FunctionNode::BuildApplied(CompList& list, int level)
{
    ExprNode* argument = Argument();
    auto appendArgument = [&](CompList& target, bool functionHead) {
        if (argument && argument->IsSimpleArgument() && functionHead) {
            nodes::AppendMathChar(target, ' ');
            argument->BuildComponents(target, Level::Top);
        } else if (functionHead) {
            nodes::AppendParen(target, nodes::Built(argument, Level::Top));
        } else {
            target.Append(new BracketComp(nodes::Built(argument, Level::Top)));
        }
    };
    if (const SymbolNode* symbol = AsSymbol(Head())) {
        if (symbol->Builtin() == Entry::Radical) {
            list.Append(new RadicalComp(nodes::Built(argument, Level::Top), nullptr));
            return;
        }
        auto* sequence = dynamic_cast<SequenceNode*>(argument);
        if (IsLogHead(symbol) && sequence && sequence->Count() > 1) {
            // The base as a subscript of "log", except the customary base 10.
            ExprNode* base = sequence->First();
            bool ten = base->GetTag() == TypeTag("intN") && base->GetIntegerValue() == 10;
            Head()->BuildComponents(list, level);
            if (!ten) {
                CompList subscript;
                base->BuildComponents(subscript, Level::Operand);
                list.Append(new SubscriptComp(nodes::Take(subscript)));
            }
            ExprNode* rest = base->next;
            if (sequence->Count() == 2) {
                argument = rest;
                appendArgument(list, true);
            } else {
                nodes::AppendParen(list, nodes::Built(argument, Level::Top));
            }
            return;
        }
        Head()->BuildComponents(list, level);
        int token = TokenOfHead(symbol);
        appendArgument(list, token == Token::Function || token == Token::Log);
        return;
    }
    if (dynamic_cast<PrimeDerivativeNode*>(Head())) {
        if (argument)
            argument->BuildComponents(list, Level::PowerBase);
        Head()->BuildComponents(list, Level::Product);
        return;
    }
    if (auto* subscript = dynamic_cast<SubscriptNode*>(Head())) {
        Head()->BuildComponents(list, level);
        appendArgument(list, IsLogHead(subscript->Base()));
        return;
    }
    if (Head())
        Head()->BuildComponents(list, level);
    appendArgument(list, false);
}

void FunctionNode::WriteMathML(MathMLOutput& writer)
{
    if (auto* prime = dynamic_cast<PrimeDerivativeNode*>(Head())) {
        writer.Open("msup");
        nodes::WriteChild(writer, Argument());
        prime->WritePrimes(writer);
        writer.Close("msup");
        return;
    }
    writer.Open("mrow");
    if (const SymbolNode* symbol = AsSymbol(Head())) {
        writer.WriteIndent();
        writer.WriteString("<mi>");
        symbol->WriteMathMLName(writer);
        writer.WriteString("</mi>");
        writer.NewLine();
    } else {
        nodes::WriteChild(writer, Head());
    }
    nodes::WriteMo(writer, "&ApplyFunction;");
    nodes::WriteChild(writer, Argument());
    writer.Close("mrow");
}

bool FunctionNode::IsNumericFactor() const
{
    return Argument() && Argument()->IsNumericFactor();
}

bool FunctionNode::IsNumericExpr() const
{
    return Argument() && Argument()->IsNumericExpr() && AsSymbol(Head()) &&
           Head()->GetTokenCode() == Token::Function;
}

double FunctionNode::GetRealValue() const
{
    const SymbolNode* symbol = AsSymbol(Head());
    if (!symbol || !Argument())
        return 0.0;
    return Apply(symbol->Name(), Argument()->GetRealValue());
}

int FunctionNode::GetTokenCode() const
{
    return Token::Function;
}

// ---- prime marks ----

PrimeDerivativeNode::PrimeDerivativeNode(ExprNode* order) : FixedNode(1)
{
    SetPart(0, order);
}

PrimeDerivativeNode::PrimeDerivativeNode(const SourceRange& range, ExprNode* order) : FixedNode(range, 1)
{
    SetPart(0, order);
}

void PrimeDerivativeNode::PutForm(MLINK link, int mode, bool plain) const
{
    MLPutFunction(link, "Derivative", ItemCount(Order()));
    PutArgument(Order(), link, mode, plain);
}

void PrimeDerivativeNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void PrimeDerivativeNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void PrimeDerivativeNode::BuildComponents(CompList& list, int level)
{
    CompList script;
    bool integer = Order() && Order()->GetTag() == TypeTag("intN");
    int order = integer ? Order()->GetIntegerValue() : 0;
    if (integer && order == 2)
        nodes::AppendMathChar(script, MathChar::DoublePrime);
    else if (integer && order == 1)
        nodes::AppendMathChar(script, MathChar::Prime);
    else
        nodes::AppendParen(script, nodes::Built(Order(), Level::Whole));
    auto* superscript = new ExponentComp(nodes::Take(script));
    if (level == Level::PowerBase) {
        auto items = std::make_unique<CompArray>();
        items->Append(superscript);
        nodes::AppendParen(list, std::move(items));
    } else {
        list.Append(superscript);
    }
}

void PrimeDerivativeNode::WritePrimes(MathMLOutput& writer)
{
    bool integer = Order() && Order()->GetTag() == TypeTag("intN");
    int order = integer ? Order()->GetIntegerValue() : 0;
    if (integer && order == 1) {
        nodes::WriteMo(writer, "&#x2032;");
    } else if (integer && order == 2) {
        nodes::WriteMo(writer, "&#x2033;");
    } else {
        writer.StartFencedWith("(", ")");
        nodes::WriteChild(writer, Order());
        writer.EndFenced();
    }
}

int PrimeDerivativeNode::GetTokenCode() const
{
    return Token::Prime;
}

// ---- derivative operators ----

DerivativeNode::DerivativeNode(int kind, ExprNode* variables, ExprNode* order) : FixedNode(3), m_kind(kind)
{
    SetPart(1, variables);
    SetPart(2, order);
}

DerivativeNode::DerivativeNode(const SourceRange& range, int kind, ExprNode* variables, ExprNode* order)
    : FixedNode(range, 3), m_kind(kind)
{
    SetPart(1, variables);
    SetPart(2, order);
}

void DerivativeNode::AppendChild(ExprNode* node)
{
    SetPart(0, node);
    if (node && node->HasRange() && HasRange() && node->GetSourceRange().end > GetSourceRange().end &&
        SourceRange::SameOwner(GetSourceRange(), node->GetSourceRange()))
        Range().end = node->GetSourceRange().end;
}

void DerivativeNode::PutForm(MLINK link, int mode, bool plain) const
{
    const char* head = m_kind == kPartial ? (plain ? "D" : "VXD") : (plain ? "Dt" : "VXDt");
    MLPutFunction(link, head, 1 + ItemCount(Variables()));
    PutOrNull(Operand(), link, mode, plain);
    PutArgument(Variables(), link, mode, plain);
}

void DerivativeNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void DerivativeNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

namespace {

// A variable, or a list {variable, order}: its rows for a differential.
void DifferentialRows(ExprNode* item, std::unique_ptr<CompArray>& variable, std::unique_ptr<CompArray>& order)
{
    auto* pair = dynamic_cast<ListNode*>(item);
    if (pair && pair->Count() >= 2) {
        variable = nodes::Built(pair->ChildAt(1), Level::Whole);
        ExprNode* n = pair->ChildAt(2);
        order = n->IsOne() ? std::make_unique<CompArray>() : nodes::Built(n, Level::Whole);
        return;
    }
    variable = nodes::Built(item, Level::Whole);
    order = std::make_unique<CompArray>();
}

std::vector<ExprNode*> Items(ExprNode* variables)
{
    std::vector<ExprNode*> items;
    if (auto* sequence = dynamic_cast<SequenceNode*>(variables)) {
        for (ExprNode* item = sequence->First(); item; item = item->next)
            items.push_back(item);
    } else if (variables) {
        items.push_back(variables);
    }
    return items;
}

} // namespace

void DerivativeNode::BuildComponents(CompList& list, int)
{
    std::vector<ExprNode*> items = Items(Variables());
    auto operand = nodes::Built(Operand(), Level::Product);
    std::unique_ptr<CompArray> variable;
    std::unique_ptr<CompArray> order;
    DifferentialRows(items.empty() ? nullptr : items.front(), variable, order);
    if (m_kind == kTotal) {
        list.Append(new TotalDerivativeComp(std::move(operand),
                                            new TotalDifferentialComp(std::move(variable), std::move(order))));
        return;
    }
    auto* derivative =
        new PartialDerivativeComp(std::move(operand), new PartialDifferentialComp(std::move(variable), std::move(order)));
    for (std::size_t i = 1; i < items.size(); ++i) {
        DifferentialRows(items[i], variable, order);
        derivative->InsertVariable(int(i) + 1, new PartialDifferentialComp(std::move(variable), std::move(order)));
    }
    list.Append(derivative);
}

void DerivativeNode::WriteMathML(MathMLOutput& writer)
{
    const char* sign = m_kind == kPartial ? "&#x2202;" : "&#8518;";
    writer.Open("mfrac");
    writer.Open("mrow");
    if (Order()) {
        writer.Open("msup");
        nodes::WriteMo(writer, sign);
        Order()->WriteMathML(writer);
        writer.Close("msup");
    } else {
        nodes::WriteMo(writer, sign);
    }
    nodes::WriteChild(writer, Operand());
    writer.Close("mrow");
    writer.Open("mrow");
    for (ExprNode* item : Items(Variables())) {
        nodes::WriteMo(writer, sign);
        auto* pair = dynamic_cast<ListNode*>(item);
        if (pair && pair->Count() >= 2) {
            writer.Open("msup");
            pair->ChildAt(1)->WriteMathML(writer);
            pair->ChildAt(2)->WriteMathML(writer);
            writer.Close("msup");
        } else {
            item->WriteMathML(writer);
        }
    }
    writer.Close("mrow");
    writer.Close("mfrac");
}

int DerivativeNode::GetTokenCode() const
{
    return Operand() ? Token::Operand : Token::Derivative;
}

// ---- integrals ----

IntegralNode::IntegralNode(ExprNode* upper, ExprNode* lower, ExprNode* integrand, ExprNode* variable) : FixedNode(4)
{
    SetPart(0, upper);
    SetPart(1, lower);
    SetPart(2, integrand);
    SetPart(3, variable);
}

IntegralNode::IntegralNode(const SourceRange& range, ExprNode* upper, ExprNode* lower, ExprNode* integrand,
                           ExprNode* variable)
    : IntegralNode(upper, lower, integrand, variable)
{
    SetRange(range);
}

void IntegralNode::PutForm(MLINK link, int mode, bool plain) const
{
    MLPutFunction(link, plain ? "Integrate" : "VXIntegrate", 2);
    PutOrNull(Integrand(), link, mode, plain);
    if (Upper() && Lower()) {
        MLPutFunction(link, "List", 3);
        PutOrNull(Variable(), link, mode, plain);
        PutOrNull(Lower(), link, mode, plain);
        PutOrNull(Upper(), link, mode, plain);
    } else {
        PutOrNull(Variable(), link, mode, plain);
    }
}

void IntegralNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void IntegralNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void IntegralNode::BuildComponents(CompList& list, int level)
{
    IntegralComp* integral = nullptr;
    auto integrand = nodes::Built(Integrand(), Level::Operand);
    auto variable = nodes::Built(Variable(), Level::Operand);
    if (Upper() && Lower())
        integral = new IntegralComp(std::move(integrand), std::move(variable), nodes::Built(Upper(), Level::Operand),
                                    nodes::Built(Lower(), Level::Operand));
    else
        integral = new IntegralComp(std::move(integrand), std::move(variable));
    if (level >= Level::Power) {
        auto items = std::make_unique<CompArray>();
        items->Append(integral);
        nodes::AppendParen(list, std::move(items));
    } else {
        list.Append(integral);
    }
}

void IntegralNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    if (Upper() && Lower()) {
        writer.Open("munderover");
        nodes::WriteMo(writer, "&int;");
        Lower()->WriteMathML(writer);
        Upper()->WriteMathML(writer);
        writer.Close("munderover");
    } else if (Lower()) {
        writer.Open("munder");
        nodes::WriteMo(writer, "&int;");
        Lower()->WriteMathML(writer);
        writer.Close("munder");
    } else if (Upper()) {
        writer.Open("mover");
        nodes::WriteMo(writer, "&int;");
        Upper()->WriteMathML(writer);
        writer.Close("mover");
    } else {
        nodes::WriteMo(writer, "&int;");
    }
    nodes::WriteChild(writer, Integrand());
    nodes::WriteMo(writer, "&#8518;");
    nodes::WriteChild(writer, Variable());
    writer.Close("mrow");
}
