#include "kernel/MathParser.h"

#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathLexer.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/CompList.h"

#include <memory>
#include <vector>

bool gSyntaxError = false;
int ShownReferences::s_depth = 0;

namespace {

using Node = std::unique_ptr<ExprNode>;

struct SyntaxError {};

// What an item of the grammar turned out to be: only a plain expression may
// stand in parentheses, take an arrow or join a sum.
enum class ItemKind { expression, relation, rule, disjunction, string, list };

enum class SignKind { plus, minus, plusMinus };

struct SignRun {
    SignKind kind;
    SourceRange range;
};

SourceRange Span(const SourceRange& a, const SourceRange& b)
{
    SourceRange range;
    range.SetParagraphRange(a.owner, a.start, b.end);
    return range;
}

bool IsSign(int code)
{
    return code == Token::Plus || code == Token::Minus || code == Token::PlusMinus;
}

bool StartsFactor(int code)
{
    switch (code) {
    case Token::Name:
    case Token::Operand:
    case Token::ParenGroup:
    case Token::Function:
    case Token::Derivative:
    case Token::Log:
    case Token::LParen:
        return true;
    default:
        return false;
    }
}

bool StartsArgument(int code)
{
    return code == Token::LBracket || code == Token::ArgumentGroup;
}

bool StartsPower(int code)
{
    return code == Token::Superscript || code == Token::Caret;
}

// -x as the product of -1 and x (a number's own sign when the term is a product led by one).
Node Negated(Node term, const SourceRange& sign)
{
    ProductNode* product = AsProduct(term.release());
    product->ApplyMinus(sign);
    return Node(product);
}

Node WithPlusMinus(Node term, const SourceRange& sign)
{
    ProductNode* product = AsProduct(term.release());
    product->ApplyPlusMinus(sign);
    return Node(product);
}

// A composite of the items in one pass (long rows stay linear in cost), over
// the range from the first item to the last.
template <typename T>
Node Gathered(std::vector<Node>& items)
{
    auto node = std::make_unique<T>();
    bool ranged = items.front()->HasRange();
    SourceRange range = Span(items.front()->GetSourceRange(), items.back()->GetSourceRange());
    std::vector<ExprNode*> children;
    children.reserve(items.size());
    for (Node& item : items)
        children.push_back(item.release());
    node->ChainAll(children);
    if (ranged)
        node->SetRange(range);
    return node;
}

// The factors gathered so far as one node: a lone factor is itself.
Node Collapse(std::vector<Node>& factors)
{
    if (factors.size() == 1)
        return std::move(factors.front());
    return Gathered<ProductNode>(factors);
}

Node AsProductNode(Node node)
{
    return Node(AsProduct(node.release()));
}

class Grammar {
public:
    explicit Grammar(std::vector<MathToken>& tokens) : m_tokens(tokens) {}

    Node Input()
    {
        ItemKind kind;
        Node top = Top(kind);
        if (Peek() != Token::End)
            throw SyntaxError();
        return top;
    }

private:
    struct Depth {
        explicit Depth(int& depth) : m_depth(depth)
        {
            if (++m_depth > MathParser::kMaxDepth)
                throw SyntaxError();
        }
        ~Depth() { --m_depth; }
        int& m_depth;
    };

    int Peek() const { return m_tokens[m_pos].code; }
    // The token after the next one (the end when there is none).
    int PeekNext() const { return m_pos + 1 < m_tokens.size() ? m_tokens[m_pos + 1].code : int(Token::End); }
    MathToken& Take()
    {
        MathToken& token = m_tokens[m_pos];
        if (token.code != Token::End)
            ++m_pos;
        return token;
    }
    MathToken& Expect(int code)
    {
        if (Peek() != code)
            throw SyntaxError();
        return Take();
    }
    static Node NodeOf(MathToken& token)
    {
        if (!token.node)
            throw SyntaxError();
        return std::move(token.node);
    }

    // top: item, or a comma sequence of items.
    Node Top(ItemKind& kind)
    {
        Node first = Item(kind);
        if (Peek() != Token::Comma)
            return first;
        std::vector<Node> items;
        items.push_back(std::move(first));
        while (Peek() == Token::Comma) {
            Take();
            ItemKind ignored;
            items.push_back(Item(ignored));
        }
        kind = ItemKind::list;   // a sequence is no expression
        return Gathered<SequenceNode>(items);
    }

    Node Item(ItemKind& kind)
    {
        Depth depth(m_depth);
        if (Peek() == Token::String) {
            kind = ItemKind::string;
            return NodeOf(Take());
        }
        if (Peek() == Token::LBrace) {
            kind = ItemKind::list;
            return List();
        }
        bool relation = false;
        Node left = Comparand(relation);
        kind = relation ? ItemKind::relation : ItemKind::expression;
        if (!relation && Peek() == Token::Arrow) {
            Take();
            Node right = Expression();
            kind = ItemKind::rule;
            SourceRange range = Span(left->GetSourceRange(), right->GetSourceRange());
            return std::make_unique<RuleNode>(range, left.release(), right.release());
        }
        if (Peek() == Token::Or) {
            std::vector<Node> alternatives;
            alternatives.push_back(std::move(left));
            while (Peek() == Token::Or) {
                Take();
                bool ignored = false;
                alternatives.push_back(Comparand(ignored));
            }
            kind = ItemKind::disjunction;
            return Gathered<OrNode>(alternatives);
        }
        return left;
    }

    Node List()
    {
        SourceRange open = Take().range;
        ItemKind kind;
        Node content = Top(kind);
        SourceRange close = Expect(Token::RBrace).range;
        auto list = std::make_unique<ListNode>(Span(open, close));
        std::vector<ExprNode*> elements;
        if (auto* sequence = dynamic_cast<SequenceNode*>(content.get()); sequence && kind == ItemKind::list) {
            for (ExprNode* child = sequence->DetachChildren(); child; child = child->next)
                elements.push_back(child);
        } else {
            elements.push_back(content.release());
        }
        list->ChainAll(elements);
        return list;
    }

    Node Comparand(bool& relation)
    {
        Node left = Expression();
        relation = Peek() == Token::Relation;
        if (!relation)
            return left;
        std::vector<Node> chain;
        chain.push_back(std::move(left));
        while (Peek() == Token::Relation) {
            chain.push_back(NodeOf(Take()));
            chain.push_back(Expression());
        }
        return Gathered<RelationNode>(chain);
    }

    SignRun Signs()
    {
        SignRun run{SignKind::plus, Take().range};
        int minuses = 0;
        bool plusMinus = false;
        for (MathToken* token = &m_tokens[m_pos - 1];; token = &Take()) {
            minuses += token->code == Token::Minus;
            plusMinus = plusMinus || token->code == Token::PlusMinus;
            run.range.end = token->range.end;
            if (!IsSign(Peek()))
                break;
        }
        run.kind = plusMinus ? SignKind::plusMinus : minuses % 2 ? SignKind::minus : SignKind::plus;
        return run;
    }

    Node Expression()
    {
        Node lead;
        if (IsSign(Peek())) {
            SignRun run = Signs();
            lead = Signed(run, Term());
        } else {
            lead = Term();
        }
        if (!IsSign(Peek()))
            return lead;
        std::vector<Node> terms;
        terms.push_back(std::move(lead));
        while (IsSign(Peek())) {
            SignRun run = Signs();
            Node term = Term();
            if (run.kind == SignKind::minus)
                term = Negated(std::move(term), run.range);
            else if (run.kind == SignKind::plusMinus)
                term = WithPlusMinus(std::move(term), run.range);
            terms.push_back(std::move(term));
        }
        return Gathered<SumNode>(terms);
    }

    // A term after a sign that starts an expression.
    static Node Signed(const SignRun& run, Node term)
    {
        switch (run.kind) {
        case SignKind::minus:
            if (!dynamic_cast<ProductNode*>(term.get()) && term->IsNumber()) {
                term->Negate();
                term->Range().Extend(run.range);
                return term;
            }
            return Negated(std::move(term), run.range);
        case SignKind::plusMinus:
            return WithPlusMinus(std::move(term), run.range);
        case SignKind::plus:
            break;
        }
        term->Range().Extend(run.range);
        return term;
    }

    Node Term()
    {
        Node left = ModOperand();
        while (Peek() == Token::Mod) {
            MathToken& token = Take();
            Node mod = std::move(token.operatorNode);
            mod->AppendChild(left.release());
            mod->AppendChild(ModOperand().release());
            left = std::move(mod);
        }
        return left;
    }

    Node ModOperand()
    {
        if (Peek() == Token::BigOperator)
            return OperatorTerm();
        Node product = Product();
        if (Peek() != Token::BigOperator)
            return product;
        Node joined = AsProductNode(std::move(product));
        joined->AppendChild(OperatorTerm().release());
        return joined;
    }

    Node OperatorTerm()
    {
        Depth depth(m_depth);
        Node op = NodeOf(Take());
        Node body;
        if (Peek() == Token::Minus) {
            SourceRange sign = Take().range;
            body = Negated(Product(), sign);
        } else if (Peek() == Token::BigOperator) {
            body = OperatorTerm();
        } else {
            body = Product();
        }
        op->AppendChild(body.release());
        return op;
    }

    Node Product()
    {
        // Factors are gathered until a division takes everything before it.
        std::vector<Node> factors;
        factors.push_back(Cross());
        for (;;) {
            int code = Peek();
            if (code == Token::Times) {
                Take();
                factors.push_back(Cross());
            } else if (code == Token::Divide) {
                Take();
                Node left = Collapse(factors);
                Node right = Cross();
                SourceRange range = Span(left->GetSourceRange(), right->GetSourceRange());
                factors.clear();
                factors.push_back(std::make_unique<DivideNode>(range, left.release(), right.release()));
            } else if (StartsFactor(code)) {
                factors.push_back(Cross());
            } else {
                return Collapse(factors);
            }
        }
    }

    Node Cross()
    {
        Node left = Postfix();
        int code = Peek();
        if (code != Token::Cross && code != Token::Dot)
            return left;
        Take();
        Node right = Postfix();
        SourceRange range = Span(left->GetSourceRange(), right->GetSourceRange());
        if (code == Token::Cross)
            return std::make_unique<CrossNode>(range, left.release(), right.release());
        return std::make_unique<DotNode>(range, left.release(), right.release());
    }

    Node Postfix()
    {
        Depth depth(m_depth);
        switch (Peek()) {
        case Token::Derivative: {
            Node op = NodeOf(Take());
            op->AppendChild(Postfix().release());
            return op;
        }
        case Token::Function:
            return FunctionCall();
        case Token::Log:
            return LogCall();
        default:
            break;
        }
        Node primed = Primed();
        if (Peek() == Token::Bang) {
            SourceRange bang = Take().range;
            return std::make_unique<FactorialNode>(bang, primed.release());
        }
        if (Peek() == Token::Direction) {
            Node direction = NodeOf(Take());
            direction->AppendChild(primed.release());
            return direction;
        }
        return Calls(std::move(primed));
    }

    // call: primed argument, call argument, ...
    Node Calls(Node head)
    {
        while (StartsArgument(Peek())) {
            Node argument = Argument();
            SourceRange range = Span(head->GetSourceRange(), argument->GetSourceRange());
            head = std::make_unique<FunctionNode>(range, head.release(), argument.release());
        }
        return head;
    }

    Node Argument()
    {
        if (Peek() == Token::ArgumentGroup)
            return NodeOf(Take());
        SourceRange open = Expect(Token::LBracket).range;
        ItemKind kind;
        Node content = Top(kind);
        SourceRange close = Expect(Token::RBracket).range;
        return std::make_unique<GroupNode>(Span(open, close), content.release(), false);
    }

    // A function's argument: brackets make a call (called is set);
    // parentheses right after the name are the argument, and a power written
    // on their closing parenthesis raises the function's value (sin(x)^2 is
    // (sin x)^2; raised is set); otherwise the primed operand that follows
    // (sin x^2 is sin(x^2)).
    Node FunctionArgument(bool& called, bool& raised)
    {
        called = StartsArgument(Peek());
        raised = false;
        if (called)
            return Argument();
        if (Peek() != Token::LParen && Peek() != Token::ParenGroup)
            return Primed();
        Node group = Primary();
        raised = StartsPower(Peek());
        return raised ? std::move(group) : PrimesOn(std::move(group));
    }

    Node FunctionCall()
    {
        MathToken& token = Take();
        SourceRange start = token.Place();
        Node head = NodeOf(token);
        Node power;
        if (Peek() == Token::Superscript)
            power = NodeOf(Take());
        bool called = false;
        bool raised = false;
        Node argument = FunctionArgument(called, raised);
        SourceRange range = Span(start, argument->GetSourceRange());
        Node call = std::make_unique<FunctionNode>(range, head.release(), argument.release());
        if (raised)
            call = Raised(std::move(call));
        if (power) {
            power->AppendChild(call.release());
            call = std::move(power);
        }
        return called ? Calls(std::move(call)) : std::move(call);
    }

    Node LogCall()
    {
        MathToken& token = Take();
        SourceRange start = token.Place();
        Node head = NodeOf(token);
        Node base;
        if (Peek() == Token::Subscript) {
            Node subscript = NodeOf(Take());
            base.reset(static_cast<SubscriptNode*>(subscript.get())->TakeSubscript());
            if (!base)
                throw SyntaxError();
        } else {
            constexpr int kCommonBase = 10;
            base = std::make_unique<IntegerNode>(kCommonBase);
        }
        bool called = false;
        bool raised = false;
        Node argument = FunctionArgument(called, raised);
        SourceRange range = Span(start, argument->GetSourceRange());
        auto arguments = std::make_unique<SequenceNode>(argument->GetSourceRange(), base.release());
        arguments->AppendChild(argument.release());
        Node call = std::make_unique<FunctionNode>(range, head.release(), arguments.release());
        if (raised)
            call = Raised(std::move(call));
        return called ? Calls(std::move(call)) : std::move(call);
    }

    Node Primed() { return PrimesOn(Power()); }

    Node PrimesOn(Node node)
    {
        while (Peek() == Token::Prime) {
            MathToken& prime = Take();
            SourceRange range = Span(node->GetSourceRange(), prime.Place());
            Node head = NodeOf(prime);
            node = std::make_unique<FunctionNode>(range, head.release(), node.release());
        }
        return node;
    }

    Node Power() { return Raised(Primary()); }

    // The superscripts and carets that follow, each raising what stands
    // before it (a^b^c is (a^b)^c).
    Node Raised(Node base)
    {
        for (;;) {
            if (Peek() == Token::Superscript) {
                Node power = NodeOf(Take());
                power->AppendChild(base.release());
                base = std::move(power);
            } else if (Peek() == Token::Caret) {
                SourceRange caret = Take().range;
                Node exponent;
                if (IsSign(Peek())) {
                    SignRun run = Signs();
                    if (run.kind != SignKind::minus)
                        throw SyntaxError();
                    exponent = Primary();
                    if (exponent->IsNumber()) {
                        exponent->Negate();
                        exponent->Range().Extend(run.range);
                    } else {
                        exponent = Negated(std::move(exponent), run.range);
                    }
                } else {
                    exponent = Primary();
                }
                SourceRange range = Span(caret, exponent->GetSourceRange());
                auto power = std::make_unique<PowerNode>(range, exponent.release());
                power->AppendChild(base.release());
                base = std::move(power);
            } else {
                return base;
            }
        }
    }

    Node Primary()
    {
        Depth depth(m_depth);
        switch (Peek()) {
        case Token::Name: {
            Node name = NodeOf(Take());
            if (Peek() == Token::Superscript && PeekNext() == Token::Subscript)
                return ScriptedBothWays(std::move(name));
            if (Peek() != Token::Subscript)
                return name;
            Node subscript = NodeOf(Take());
            subscript->AppendChild(name.release());
            return subscript;
        }
        case Token::Operand:
        case Token::ParenGroup:
            return NodeOf(Take());
        // A bracket group with nothing before it to apply to (a root's
        // index "[n]") groups what it holds, as it shows.
        case Token::ArgumentGroup:
            return NodeOf(Take());
        case Token::LParen:
            return Parenthesised();
        default:
            throw SyntaxError();
        }
    }

    // A name whose exponent was typed before its subscript: both scripts
    // stand beside the name, as they do typed the other way round, and the
    // subscript names the thing raised (y_3 squared).
    Node ScriptedBothWays(Node name)
    {
        Node power = NodeOf(Take());
        Node subscript = NodeOf(Take());
        subscript->AppendChild(name.release());
        power->AppendChild(subscript.release());
        return power;
    }

    // (expression) is a group; (item, item, ...) a drawing point.
    Node Parenthesised()
    {
        SourceRange open = Take().range;
        ItemKind kind;
        Node content = Top(kind);
        SourceRange close = Expect(Token::RParen).range;
        SourceRange range = Span(open, close);
        if (auto* sequence = dynamic_cast<SequenceNode*>(content.get()); sequence && kind == ItemKind::list) {
            content.release();
            return Node(PointNode::FromSequence(range, sequence));
        }
        if (kind != ItemKind::expression)
            throw SyntaxError();
        return std::make_unique<GroupNode>(range, content.release(), true);
    }

    std::vector<MathToken>& m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace

MathParser::MathParser(CompList& list, int first, int end) : m_list(list), m_first(first), m_end(end) {}

ExprNode* MathParser::ParseTokens()
{
    MathLexer lexer(m_list, m_first, m_end);
    std::vector<MathToken> tokens = lexer.LexAll();
    try {
        return Grammar(tokens).Input().release();
    } catch (const SyntaxError&) {
        return nullptr;
    }
}

ExprNode* MathParser::Parse()
{
    ExprNode* result = ParseTokens();
    if (result)
        return result;
    gSyntaxError = true;
    SourceRange range;
    range.SetParagraphRange(&m_list, m_first, m_end);
    return new ErrorNode(range);
}
