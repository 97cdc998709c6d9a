#include "kernel/KernelReader.h"

#include "kernel/AccentNode.h"
#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSettings.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PlotNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

DrawVarReadMaker gDrawVarReadMaker = nullptr;

using Node = std::unique_ptr<ExprNode>;

bool IsDigits(const std::string& text, std::size_t from)
{
    if (from >= text.size())
        return false;
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// An optionally signed run of digits.
bool IsIntegerText(const std::string& text)
{
    std::size_t from = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return IsDigits(text, from);
}

// Digits with at most one point and at least one digit, then an optional
// "e" exponent of signed digits.
bool IsRealText(const std::string& text)
{
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.' && !point)
            point = true;
        else if (text[i] >= '0' && text[i] <= '9')
            digit = true;
        else
            return false;
    }
    if (!digit)
        return false;
    if (i == text.size())
        return true;
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    return IsDigits(text, i);
}

// The kernel's real text: cut at the precision mark (with the blanks before
// it), and its "*^" exponent written with an "e".
std::string RealText(std::string text)
{
    std::size_t mark = text.find('`');
    if (mark != std::string::npos) {
        text.erase(mark);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
    }
    std::size_t exponent = text.find("*^");
    if (exponent != std::string::npos)
        text = text.substr(0, exponent) + "e" + text.substr(exponent + 2);
    return text;
}

// The arguments from the given one on, handed over (the vector keeps nulls).
std::vector<ExprNode*> Released(std::vector<Node>& args, std::size_t from)
{
    std::vector<ExprNode*> nodes(args.size() > from ? args.size() - from : 0);
    for (std::size_t i = from; i < args.size(); ++i)
        nodes[i - from] = args[i].release();
    return nodes;
}

ExprNode* ArgumentOf(std::vector<Node>& args, std::size_t from)
{
    if (args.size() <= from)
        return nullptr;
    if (args.size() == from + 1)
        return args[from].release();
    auto* sequence = new SequenceNode;
    sequence->ChainAll(Released(args, from));
    return sequence;
}

ExprNode* Take(std::vector<Node>& args, std::size_t i)
{
    return i < args.size() ? args[i].release() : nullptr;
}

template <typename T>
T* Composite(std::vector<Node>& args)
{
    auto* node = new T;
    node->ChainAll(Released(args, 0));
    return node;
}

ExprNode* Applied(ExprNode* head, std::vector<Node>& args, std::size_t from = 0)
{
    return new FunctionNode(head, ArgumentOf(args, from));
}

// The first derivative of a function whose derivative has an entry of its
// own ("AiryAiPrime"): the function itself stands in the entry before it.
ExprNode* PrimeHead(int entry)
{
    return new FunctionNode(new PrimeDerivativeNode(new IntegerNode(1)), new SymbolNode(entry - 1));
}

const unsigned char kAccentOfKind[] = {AccentCode::Hat, AccentCode::Dot, AccentCode::Vector, AccentCode::Tilde,
                                       AccentCode::DoubleDot};

// A limit's third argument: Direction -> 1 approaches from below, -> -1 from above.
int LimitDirection(const ExprNode* option)
{
    auto* rule = dynamic_cast<const RuleNode*>(option);
    if (!rule || !rule->Right() || rule->Right()->GetTag() != TypeTag("intN"))
        return 0;
    int32_t value = rule->Right()->GetIntegerValue();
    return value == 1 ? 2 : value == -1 ? 1 : 0;
}

} // namespace

ExprNode* KernelReader::Fail()
{
    m_failed = true;
    return new ErrorNode;
}

ExprNode* KernelReader::ReadExpr()
{
    if (m_failed || m_depth >= kMaxDepth || ++m_nodes > kMaxNodes) {
        // Too deep or too large: the rest of the answer is not read.
        return Fail();
    }
    ++m_depth;
    ExprNode* node = nullptr;
    switch (MLGetType(m_link)) {
    case MLTKSTR:
        node = ReadString();
        break;
    case MLTKSYM:
        node = ReadSymbol();
        break;
    case MLTKINT:
        node = ReadInteger();
        break;
    case MLTKREAL:
        node = ReadReal();
        break;
    case MLTKFUNC:
        node = ReadFunction();
        break;
    default:
        node = Fail();
        break;
    }
    --m_depth;
    return node;
}

ExprNode* KernelReader::ReadAtomText(int, bool& ok, std::string& text)
{
    int count = 0;
    ok = MLBytesToGet(m_link, &count) != 0 && count >= 0;
    if (!ok)
        return Fail();
    text.assign(std::size_t(count), '\0');
    int taken = 0;
    ok = MLGetData(m_link, text.data(), count, &taken) != 0 && taken == count;
    if (!ok)
        return Fail();
    return nullptr;
}

ExprNode* KernelReader::ReadString()
{
    bool ok = false;
    std::string text;
    if (ExprNode* failed = ReadAtomText(MLTKSTR, ok, text))
        return failed;
    return new StringNode(MathLinkCharConv::ReadLinkString(text));
}

ExprNode* KernelReader::ReadInteger()
{
    // Short integers, the common case, are read without allocating.
    int count = 0;
    if (MLBytesToGet(m_link, &count) && count > 0 && count <= kLongestInteger) {
        char digits[kLongestInteger + 1];
        int taken = 0;
        if (!MLGetData(m_link, digits, count, &taken) || taken != count)
            return Fail();
        digits[count] = '\0';
        if (!IsIntegerText(std::string(digits, std::size_t(count))))
            return new ErrorNode;
        return new IntegerNode(int32_t(std::strtol(digits, nullptr, 10)));
    }
    bool ok = false;
    std::string text;
    if (ExprNode* failed = ReadAtomText(MLTKINT, ok, text))
        return failed;
    if (int(text.size()) > kLongestInteger) {
        std::size_t digits = text.find_first_not_of(' ');
        text.erase(0, digits == std::string::npos ? text.size() : digits);
        return IsIntegerText(text) ? static_cast<ExprNode*>(new IntegerTextNode(text)) : new ErrorNode;
    }
    if (!IsIntegerText(text))
        return new ErrorNode;
    return new IntegerNode(int32_t(std::strtol(text.c_str(), nullptr, 10)));
}

ExprNode* KernelReader::ReadReal()
{
    bool ok = false;
    std::string text;
    if (ExprNode* failed = ReadAtomText(MLTKREAL, ok, text))
        return failed;
    text = RealText(text);
    if (!IsRealText(text))
        return new ErrorNode;
    if (int(text.size()) > kLongestReal && !NodeSettings::Get().modelBuilding)
        return new RealTextNode(text);
    return new RealNode(std::strtod(text.c_str(), nullptr));
}

ExprNode* KernelReader::ReadSymbol()
{
    const char* raw = nullptr;
    if (!MLGetSymbol(m_link, &raw) || !raw)
        return Fail();
    std::string name = MathLinkCharConv::ReadLinkString(raw);
    MLDisownSymbol(m_link, raw);

    unsigned char accent = 0;
    std::size_t dollar = name.size() > 1 ? name.rfind('$') : std::string::npos;
    if (dollar != std::string::npos && dollar >= 1) {
        std::string marker = name.substr(dollar + 1);
        if (marker == "vxhat" || marker == "vxtilde") {
            accent = marker == "vxhat" ? AccentCode::Hat : AccentCode::Tilde;
            name.erase(dollar);
        }
    }
    int entry = TheNameTable().FindRange(name.data(), name.data() + name.size());
    if (entry <= 0 && name.size() == 1) {
        // A Greek letter or sign in its plain spelling: the character's own entry.
        entry = CharTable::GetKernelNameId(gWriterPlainMap[static_cast<unsigned char>(name[0])]);
        if (entry >= kBuiltinNameCount)
            entry = 0;
    }
    ExprNode* symbol = nullptr;
    switch (entry > 0 ? gBuiltinNames[entry].kind : -1) {
    case -1:
        symbol = new SymbolNode(name);
        break;
    case NodeKind::DefaultVar:
        symbol = new SymbolNode(NodeSettings::Get().defaultVariable);
        break;
    case NodeKind::TransformVar:
        symbol = new SymbolNode(NodeSettings::Get().transformVariable);
        break;
    case NodeKind::PlusMinus:
        symbol = new PlusMinusNode;
        break;
    case NodeKind::Null:
        symbol = new SymbolNode(Entry::Null);
        break;
    default:
        symbol = new SymbolNode(entry);
        break;
    }
    return accent ? new AccentNode(symbol, accent) : symbol;
}

struct KernelReader::Args {
    // Reads exactly the arguments that arrived; after a failed read the rest
    // are missing (null) and nothing more is read.
    static std::vector<Node> Read(KernelReader& reader, int count)
    {
        constexpr int kReserved = 64;   // more are grown into as they arrive
        std::vector<Node> args;
        args.reserve(std::size_t(count < kReserved ? count : kReserved));
        for (int i = 0; i < count && !reader.m_failed; ++i)
            args.emplace_back(reader.ReadExpr());
        return args;
    }
};

ExprNode* KernelReader::ReadFunction()
{
    int count = 0;
    if (!MLGetArgCount(m_link, &count) || count < 0)
        return Fail();
    int headType = MLGetNext(m_link);
    if (headType == MLTKFUNC) {
        Node head(ReadExpr());
        std::vector<Node> args = Args::Read(*this, count);
        return Applied(head.release(), args);
    }
    if (headType != MLTKSYM) {
        // A head that is no name: read it and its arguments, keep nothing.
        delete ReadExpr();
        Args::Read(*this, count);
        return new ErrorNode;
    }
    const char* raw = nullptr;
    if (!MLGetSymbol(m_link, &raw) || !raw)
        return Fail();
    std::string name = MathLinkCharConv::ReadLinkString(raw);
    MLDisownSymbol(m_link, raw);
    int entry = TheNameTable().FindRange(name.data(), name.data() + name.size());
    if (entry <= 0) {
        std::vector<Node> args = Args::Read(*this, count);
        return Applied(new SymbolNode(name), args);
    }
    return Dispatch(entry, count);
}

ExprNode* KernelReader::Dispatch(int entry, int count)
{
    const int kind = gBuiltinNames[entry].kind;
    if (kind >= NodeKind::FirstPlot && kind <= NodeKind::LastPlot)
        return ReadPlotNode(entry, kind, count);
    std::vector<Node> args = Args::Read(*this, count);
    auto sym = [entry] { return new SymbolNode(entry); };
    switch (kind) {
    case NodeKind::Complex: {
        Node re(Take(args, 0));
        Node im(Take(args, 1));
        auto* product = new ProductNode(im ? im.release() : new IntegerNode(0));
        product->AppendChild(new SymbolNode(Entry::ImaginaryUnit));
        if (!re || (re->GetTag() == TypeTag("intN") && re->GetIntegerValue() == 0 && re->IsNumber()))
            return product;
        auto* sum = new SumNode(re.release());
        sum->AppendChild(product);
        return sum;
    }
    case NodeKind::Abs:
        return new AbsNode(Take(args, 0));
    case NodeKind::Mod:
        return new ModNode(Take(args, 0), Take(args, 1));
    case NodeKind::BigOperator: {
        auto* op = new BigOperatorNode(SourceRange(), sym(), nullptr, nullptr);
        ExprNode* body = Take(args, 0);
        op->SetBounds(Take(args, 1));
        op->AppendChild(body);
        return op;
    }
    case NodeKind::Divide: {
        ExprNode* num = Take(args, 0);
        return new DivideNode(num, Take(args, 1));
    }
    case NodeKind::Function:
        return Applied(sym(), args);
    case NodeKind::PrimeFunction:
        return Applied(PrimeHead(entry), args);
    case NodeKind::SubscriptedFunction:
    case NodeKind::SubscriptedPrimeFunction: {
        ExprNode* base = kind == NodeKind::SubscriptedFunction ? sym() : PrimeHead(entry);
        auto* head = new SubscriptNode(base, Take(args, 0));
        return args.size() <= 1 ? static_cast<ExprNode*>(head) : Applied(head, args, 1);
    }
    case NodeKind::SubscriptPowerFunction: {
        auto* subscripted = new SubscriptNode(sym(), Take(args, 0));
        auto* head = new PowerNode(Take(args, 1), subscripted, true);
        return Applied(head, args, 2);
    }
    case NodeKind::KroneckerDelta:
        return new SubscriptNode(sym(), ArgumentOf(args, 0));
    case NodeKind::Log:
        // One argument: the natural logarithm. With a base the logarithm
        // keeps its base as the first argument, so that it is written back
        // to the kernel as it came (Log[10, x] stays the common logarithm).
        if (args.size() <= 1)
            return Applied(new SymbolNode(Entry::Ln), args);
        return Applied(new SymbolNode(Entry::Log), args);
    case NodeKind::Transform:
        return new FunctionNode(sym(), Take(args, 0));
    case NodeKind::InverseTransform:
        return new FunctionNode(new PowerNode(new IntegerNode(-1), sym(), true), Take(args, 0));
    case NodeKind::Integrate: {
        ExprNode* integrand = Take(args, 0);
        Node second(Take(args, 1));
        auto* list = dynamic_cast<ListNode*>(second.get());
        if (list && list->GetTag() == TypeTag("lisN") && list->Count() >= 3) {
            ExprNode* variable = list->ChildAt(1);
            ExprNode* lower = list->ChildAt(2);
            ExprNode* upper = list->ChildAt(3);
            for (ExprNode* part : {variable, lower, upper})
                list->Unlink(part);
            return new IntegralNode(upper, lower, integrand, variable);
        }
        return new IntegralNode(nullptr, nullptr, integrand, second.release());
    }
    case NodeKind::Limit: {
        ExprNode* operand = Take(args, 0);
        ExprNode* approach = Take(args, 1);
        return new LimitNode(operand, approach, args.size() > 2 ? LimitDirection(args[2].get()) : 0);
    }
    case NodeKind::List:
        return Composite<ListNode>(args);
    case NodeKind::Matrix:
        return Composite<MatrixNode>(args);
    case NodeKind::Table:
        return Composite<TableNode>(args);
    case NodeKind::EqnSet:
        return Composite<EqnSetNode>(args);
    case NodeKind::Split:
        return Composite<SplitNode>(args);
    case NodeKind::Column:
        return Composite<ColumnNode>(args);
    case NodeKind::PartialD:
    case NodeKind::TotalD: {
        ExprNode* operand = Take(args, 0);
        auto* derivative = new DerivativeNode(kind == NodeKind::PartialD ? DerivativeNode::kPartial
                                                                          : DerivativeNode::kTotal,
                                              ArgumentOf(args, 1), nullptr);
        derivative->SetOperand(operand);
        return derivative;
    }
    case NodeKind::Times:
        return Composite<ProductNode>(args);
    case NodeKind::Plus:
        return Composite<SumNode>(args);
    case NodeKind::Power:
    case NodeKind::KeptPower: {
        ExprNode* base = Take(args, 0);
        return new PowerNode(Take(args, 1), base, kind == NodeKind::KeptPower);
    }
    case NodeKind::Derivative:
        return new PrimeDerivativeNode(ArgumentOf(args, 0));
    case NodeKind::Factorial:
        return new FactorialNode(Take(args, 0));
    case NodeKind::Conjugate:
        return new ConjugateNode(Take(args, 0));
    case NodeKind::Above:
    case NodeKind::Below:
        return new DirectionRuleNode(Take(args, 0), kind == NodeKind::Above ? 0 : 1);
    case NodeKind::Radical: {
        ExprNode* radicand = Take(args, 0);
        return new RadicalNode(radicand, Take(args, 1));
    }
    case NodeKind::Relation: {
        if (args.empty())
            return new ErrorNode;
        auto* relation = new RelationNode(args[0].release());
        for (std::size_t i = 1; i < args.size(); ++i) {
            relation->AppendChild(sym());
            relation->AppendChild(args[i].release());
        }
        return relation;
    }
    case NodeKind::Rule: {
        ExprNode* left = Take(args, 0);
        return new RuleNode(left, Take(args, 1));
    }
    case NodeKind::Subscript: {
        ExprNode* base = Take(args, 0);
        return new SubscriptNode(base, ArgumentOf(args, 1));
    }
    case NodeKind::Inequality:
        return Composite<RelationNode>(args);
    case NodeKind::Or:
        return Composite<OrNode>(args);
    case NodeKind::DirectedInfinity: {
        if (args.empty())
            return new SymbolNode(Entry::Infinity);
        auto* product = new ProductNode(args[0].release());
        product->AppendChild(new SymbolNode(Entry::Infinity));
        return product;
    }
    case NodeKind::Unwrapped:
        // The first argument stands for the whole; further ones were read and are dropped.
        return args.empty() ? new ErrorNode : args[0].release();
    case NodeKind::Cross: {
        ExprNode* left = Take(args, 0);
        return new CrossNode(left, Take(args, 1));
    }
    case NodeKind::Dot: {
        ExprNode* left = Take(args, 0);
        return new DotNode(left, Take(args, 1));
    }
    case NodeKind::OverHat:
    case NodeKind::OverDot:
    case NodeKind::OverVector:
    case NodeKind::OverTilde:
    case NodeKind::DoubleOverDot:
        return new AccentNode(Take(args, 0), kAccentOfKind[kind - NodeKind::OverHat]);
    case NodeKind::TagVar: {
        ExprNode* content = Take(args, 0);
        return new TagVarNode(content, Take(args, 1));
    }
    case NodeKind::Point:
        return Composite<PointNode>(args);
    case NodeKind::DrawVar:
        if (gDrawVarReadMaker && args.size() == 1)
            return gDrawVarReadMaker(Take(args, 0));
        return Applied(sym(), args);
    default:
        // Plain symbols used as heads, and the plot heads (whose node
        // classes come with the plots).
        return Applied(sym(), args);
    }
}

// Graphics are read with every real as a plain double, however long its
// digits; a graphics head keeps at most its first two arguments.
ExprNode* KernelReader::ReadPlotNode(int entry, int kind, int count)
{
    const bool graphics =
        kind == PlotKind::Graphics || kind == PlotKind::Graphics3D || kind == PlotKind::SurfaceGraphics;
    bool& modelBuilding = NodeSettings::Get().modelBuilding;
    const bool wasModelBuilding = modelBuilding;
    if (graphics)
        modelBuilding = true;
    std::vector<Node> args;
    try {
        args = Args::Read(*this, count);
    } catch (...) {
        modelBuilding = wasModelBuilding;
        throw;
    }
    modelBuilding = wasModelBuilding;
    switch (kind) {
    case PlotKind::TwoDPlot: {
        ExprNode* functions = Take(args, 0);
        ExprNode* x = Take(args, 1);
        ExprNode* y = Take(args, 2);
        return new TwoDPlotNode(functions, x, y, Take(args, 3));
    }
    case PlotKind::Graphics:
    case PlotKind::Graphics3D: {
        ExprNode* content = Take(args, 0);
        return new GraphicsNode(content, Take(args, 1), kind == PlotKind::Graphics);
    }
    case PlotKind::Line: return new GraphicsLineNode(Take(args, 0));
    case PlotKind::Point: return new GraphicsPointNode(Take(args, 0));
    case PlotKind::Polygon: return new GraphicsPolygonNode(Take(args, 0));
    case PlotKind::Text: {
        ExprNode* text = Take(args, 0);
        return new GraphicsTextNode(text, Take(args, 1));
    }
    case PlotKind::SurfaceGraphics: {
        ExprNode* heights = Take(args, 0);
        return new SurfaceGraphicsNode(heights, Take(args, 1));
    }
    case PlotKind::ThreeDPlot: {
        ExprNode* functions = Take(args, 0);
        ExprNode* x = Take(args, 1);
        ExprNode* y = Take(args, 2);
        ExprNode* z = Take(args, 3);
        return new ThreeDPlotNode(functions, x, y, z, Take(args, 4));
    }
    default:
        return Applied(new SymbolNode(entry), args);
    }
}

ExprNode* ReadKernelExpr(MLINK link)
{
    return KernelReader(link).ReadExpr();
}

ExprNode* ReadKernelSymbol(MLINK link)
{
    return KernelReader(link).ReadSymbol();
}

ExprNode* ReadKernelFunction(MLINK link)
{
    return KernelReader(link).ReadFunction();
}

void DiscardKernelExprs(MLINK link, int count)
{
    KernelReader reader(link);
    for (int i = 0; i < count && !reader.Failed(); ++i)
        delete reader.ReadExpr();
}

void InstallDrawVarReadMaker(DrawVarReadMaker maker)
{
    gDrawVarReadMaker = maker;
}
