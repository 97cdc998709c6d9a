// Layout to the pixel at 96 dpi, base size level 5 (14 points): size unit 2,
// axis -1, text ascent -13 and descent 5, em box top -12. Script rows two
// levels smaller (10 points): ascent -9, descent 3, em top -9; four levels
// smaller (8 points): ascent -7.
#include "FractionTestSupport.h"

#include <QDir>

namespace {

class FractionLayoutTest : public MathTest {
protected:
    static Rect Bounds(const TextComp& comp)
    {
        Rect r;
        comp.GetBounds(r);
        return r;
    }
    static std::pair<int, int> P(const IntPoint& p) { return {p.x, p.y}; }
    // Characters in which "^" and "_" start a superscript or a subscript of
    // the text up to the next of them ("x_1^2").
    std::unique_ptr<CompArray> Scripted(const std::string& text, int face)
    {
        std::size_t at = text.find_first_of("^_");
        std::unique_ptr<CompArray> row = Chars(text.substr(0, at), face);
        while (at != std::string::npos) {
            const std::size_t next = text.find_first_of("^_", at + 1);
            std::unique_ptr<CompArray> script = Chars(text.substr(at + 1, next - at - 1), face);
            row->Append(text[at] == '^' ? static_cast<TextComp*>(new ExponentComp(std::move(script)))
                                        : new SubscriptComp(std::move(script)));
            at = next;
        }
        return row;
    }
    static IntPoint Origin(const TextComp& comp)
    {
        IntPoint p;
        comp.GetOrigin(p);
        return p;
    }
};

TEST_F(FractionLayoutTest, BuiltUpFractionInAnEquation)
{
    auto* wide = new FractionComp(Chars("ab"), Chars("c"));
    auto* narrow = new FractionComp(Chars("a"), Chars("bc"));
    auto* even = new FractionComp(Chars("a"), Chars("a"));
    auto paragraph = Paragraph(5, Items({wide, narrow, even}));

    for (FractionComp* f : {wide, narrow, even}) {
        ASSERT_TRUE(f->IsBuiltUp());
        EXPECT_EQ(f->GetAxis(), -1);
        Rect b = Bounds(*f);
        EXPECT_EQ(b.top, -1 - 4 - 18);
        EXPECT_EQ(b.bottom, -1 + 4 - 1 + 18);
        EXPECT_EQ(b.left, 0);
    }
    // A strictly wider numerator gives the width; otherwise the denominator plus 2u.
    EXPECT_EQ(Bounds(*wide).right, wide->Numerator()->GetRect().right);
    EXPECT_EQ(Bounds(*even).right, even->Denominator()->GetRect().right + 4);

    // The numerator's bottom stands u above the axis, the denominator's top 2u - u/2 below.
    IntPoint o = Origin(*narrow);
    EXPECT_EQ(narrow->Numerator()->GetOrigin().y, o.y - 1 - 2 - 5);
    EXPECT_EQ(narrow->Denominator()->GetOrigin().y, o.y - 1 + 3 + 13);
    int w = Bounds(*narrow).right;
    EXPECT_EQ(narrow->Numerator()->GetOrigin().x, o.x + (w - narrow->Numerator()->GetRect().right) / 2);
    EXPECT_EQ(narrow->Denominator()->GetOrigin().x, o.x + 2);
}

TEST_F(FractionLayoutTest, InlineFractionInTextAndBuiltUpAfterAStyleChange)
{
    int slash, open, close;
    {
        MathFamilyScope face;
        slash = gDrawContext.GetCharWidth('/');
        open = gDrawContext.GetCharWidth('(');
        close = gDrawContext.GetCharWidth(')');
    }
    // A row stands in parentheses where the slash would bind less of it: a
    // sum, a relation, an arrow or logical sign, a separator, in either face.
    // In octal: plus-minus 261 (either face, and as a prefix); text face not
    // equal 177, less or equal 216, greater or equal 217; math face less or
    // equal 272, not equal 271, approximately 246, arrow 234, implies 257,
    // equivalent 365, and 355. A denominator of one atom with scripts ("^"
    // and "_" start them below) stands bare: scripts bind more than "/";
    // typed brackets around a whole row are its own. A script after the
    // fraction (scripted) brackets the whole fraction: (2/3)^2, not 2/3^2.
    const int math = FontId::kMath;
    const int t = FontId::kText;
    const struct {
        const char* numerator;
        const char* denominator;
        bool fenceNumerator, fenceDenominator;
        int face = FontId::kText;
        bool scripted = false;
    } rows[] = {
        {"a", "b", false, false},           {"2.5", "10", false, false},        {"-a", "c", false, false},
        {"a+b", "c", true, false},          {"1", "x+1", false, true},          {"a", "bc", false, true},
        {"a b", "c d", true, true},         {"a\261b", "c", true, false},       {"a\261b", "c", true, false, math},
        {"\261a", "c", false, false, math}, {"a*b", "c", false, false},         {"a\177b", "c", true, false},
        {"a\216b", "c", true, false},       {"a\217b", "c", true, false},       {"a\272b", "c", true, false, math},
        {"a\271b", "c", true, false, math}, {"a\246b", "c", true, false, math}, {"a=b", "c", true, false},
        {"a\234b", "c", true, false, math}, {"a\257b", "c", true, false, math}, {"a\365b", "c", true, false, math},
        {"a\355b", "c", true, false, math}, {"a,b", "c", true, false},          {"1", "b^2", false, false},
        {"1", "x_1", false, false},         {"1", "x_1^2", false, false},       {"a", "10^n", false, false},
        {"a+b", "c^2", true, false},        {"1", "b^2", false, false, math},   {"1", "bc^2", false, true},
        {"1", "b+1_1", false, true},        {"1", "^2", false, true},           {"(a+b)c", "d", false, false},
        {"1", "(b+c)^2", false, false},     {"1", "[b-c]", false, false},       {"1", "(a)(b)", false, true},
        {"(a+b", "c", true, false},         {"2", "3", false, false, t, true},  {"2", "3^2", false, false, t, true},
        {"a", "b+1", false, true, t, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.numerator) + " over " + row.denominator + " in face " + std::to_string(row.face) +
                     (row.scripted ? ", squared" : ""));
        auto* f = new FractionComp(Chars(row.numerator, row.face), Scripted(row.denominator, row.face));
        auto paragraph = Paragraph(3, row.scripted ? Items({f, new ExponentComp(Chars("2", row.face))}) : One(f));
        // The linear text brackets what the screen does.
        const auto fence = [](bool fenced, const std::string& text) { return fenced ? "(" + text + ")" : text; };
        EXPECT_EQ(LinearText(*f),
                  fence(row.scripted,
                        fence(row.fenceNumerator, row.numerator) + "/" + fence(row.fenceDenominator, row.denominator)));
        ASSERT_FALSE(f->IsBuiltUp());
        EXPECT_EQ(f->GetSlashWidth(), slash);
        EXPECT_EQ(f->IsNumeratorFenced(), row.fenceNumerator);
        EXPECT_EQ(f->IsDenominatorFenced(), row.fenceDenominator);
        EXPECT_EQ(f->IsWholeFenced(), row.scripted);
        const int wOpen = row.scripted ? open : 0;
        const int wClose = row.scripted ? close : 0;
        const int n =
            row.fenceNumerator ? open + f->Numerator()->GetRect().right + close : f->Numerator()->GetRect().right;
        const int d = f->Denominator()->GetRect().right;
        const int dOpen = row.fenceDenominator ? open : 0;
        const int dClose = row.fenceDenominator ? close : 0;
        // The math face's letters reach from -11 to 1, its parentheses from -13 to 3.
        const bool fenced = row.fenceNumerator || row.fenceDenominator || row.scripted;
        const int top = std::min(row.face == math && !fenced ? -11 : -13, f->Denominator()->GetRect().top);
        const int bottom = std::max(row.face == math ? (fenced ? 3 : 1) : 5, f->Denominator()->GetRect().bottom);
        EXPECT_EQ(Bounds(*f), Rect(0, top, wOpen + n + slash + 2 + dOpen + d + dClose + wClose, bottom));
        IntPoint o = Origin(*f);
        EXPECT_EQ(P(f->Numerator()->GetOrigin()), P(IntPoint(o.x + wOpen + (row.fenceNumerator ? open : 0), o.y)));
        EXPECT_EQ(P(f->Denominator()->GetOrigin()), P(IntPoint(o.x + wOpen + n + slash + 2 + dOpen, o.y)));
    }

    auto* f = new FractionComp(Chars("a"), Chars("bc"));
    auto paragraph = Paragraph(3, One(f));
    paragraph->SetStyle(styles->GetStyle(5));
    Place(*paragraph);
    EXPECT_TRUE(f->IsBuiltUp());
    EXPECT_EQ(Bounds(*f).top, -23);
}

TEST_F(FractionLayoutTest, ScriptsStepTwoLevelsDownAndStandAgainstWhatPrecedes)
{
    auto* first = new ExponentComp(Chars("2"));
    auto* inner = new ExponentComp(Chars("z"));
    auto* outer = new ExponentComp(Items({fonts.GetFace(0)->GetCharacter('y'), inner}));
    auto* sub = new SubscriptComp(Chars("i"));
    auto paragraph = Paragraph(3, Items({first, fonts.GetFace(0)->GetCharacter('x'), outer,
                                         fonts.GetFace(0)->GetCharacter('x'), sub}));

    EXPECT_EQ(inner->Script()->GetSizeStep(), 4);

    // First in its row: against the em box alone (-12); script ascent 9, a third is 3.
    EXPECT_EQ(first->GetScriptOffset(), -12 + 3);
    EXPECT_EQ(Bounds(*first), Rect(0, -9 - 9, first->Script()->GetRect().right, 0));

    // The inner exponent at 10 points after "y": reference -9, script ascent 7.
    EXPECT_EQ(inner->GetScriptOffset(), -9 + 2);
    // The outer exponent after "x" (ascent -13): its script reaches up to -14.
    EXPECT_EQ(outer->GetScriptOffset(), -13 + 4);
    EXPECT_EQ(Bounds(*outer).top, -14 - 9);

    // The subscript drops by half its ascent and reaches up to the row's em box.
    EXPECT_EQ(sub->GetScriptDrop(), 4);
    EXPECT_EQ(Bounds(*sub), Rect(0, -12, sub->Script()->GetRect().right, 4 + 3));
}

TEST_F(FractionLayoutTest, TallParenthesesAroundATallFraction)
{
    auto* f = new FractionComp(Chars("a"), Chars("b"));
    auto* tall = new ParenComp(One(f));
    auto* low = new ParenComp(Chars("x"));
    auto paragraph = Paragraph(5, Items({tall, low}));

    // 43 pixels high, more than 3/2 of 14 points (28 pixels): the narrow fence.
    ASSERT_TRUE(tall->IsTall());
    EXPECT_EQ(tall->GetDelimiterWidth(), 410 * 14 / 1024 * 96 / 72);
    EXPECT_EQ(Bounds(*tall), Rect(0, -23, Bounds(*f).right + 12, 20));
    EXPECT_EQ(P(Origin(*f)), P(IntPoint(Origin(*tall).x + 6, Origin(*tall).y)));

    // A short row takes the box of "(" of the math face at least.
    Rect paren;
    {
        MathFamilyScope face;
        gDrawContext.GetCharBox('(', paren);
    }
    ASSERT_FALSE(low->IsTall());
    EXPECT_EQ(low->GetDelimiterWidth(), paren.right);
    Rect b = Bounds(*low);
    EXPECT_EQ(b.top, std::min(-13, paren.top));
    EXPECT_EQ(b.right, low->Content()->GetRect().right + 2 * paren.right);
}

TEST_F(FractionLayoutTest, ConjugateAccentAndPlaceholderBoxes)
{
    auto* bar = new ConjugateComp(Chars("z"));
    auto* hat = new AccentComp(Chars("x"), AccentComp::kHat);
    auto* missing = new PlaceholderComp;
    auto paragraph = Paragraph(3, Items({bar, hat, missing}));

    EXPECT_EQ(bar->GetBarOffset(), -13 - 4);
    EXPECT_EQ(Bounds(*bar).top, -13 - 4 - 2);

    Rect accent;
    int advance;
    {
        MathFamilyScope face;
        gDrawContext.GetCharBox(AccentComp::kHat, accent);
        advance = gDrawContext.GetCharAdvance('x');
    }
    IntPoint offset = hat->GetAccentOffset();
    EXPECT_EQ(offset.y, -13 - 2);
    // Centred on the letter's advance and shifted right by tan 13° of 15 pixels (3).
    EXPECT_EQ(offset.x, advance / 2 + 3 - accent.Width() / 2);
    EXPECT_EQ(Bounds(*hat).top, -13 + accent.top - accent.bottom - 2);

    // Two em boxes wide.
    EXPECT_EQ(Bounds(*missing), Rect(0, -12, 18, 2));
}

TEST_F(FractionLayoutTest, DrawingInksTheRuleTheSlashAndTheFences)
{
    auto* f = new FractionComp(Chars("a"), Chars("b"));
    auto* bars = new AbsValueComp(Chars("x"));
    auto* brackets = new BracketComp(Chars("x"));
    auto paragraph = Paragraph(5, Items({f, bars, brackets}));
    paragraph->GetRow()->Draw();

    // The fraction rule on the row y + axis - u/2, from x + u/2, W - u long.
    IntPoint o = Origin(*f);
    int w = Bounds(*f).right;
    for (int x = o.x + 1; x < o.x + w - 1; ++x)
        EXPECT_NE(image.pixel(x, o.y - 2) & 0xFFFFFF, 0xFFFFFFu) << "rule at x " << x;

    // The bars run the full height at x + w/2 and right - w/2 - 1.
    Rect b = Bounds(*bars);
    int w2 = bars->GetDelimiterWidth();
    IntPoint ob = Origin(*bars);
    for (int y = ob.y + b.top + 1; y < ob.y + b.bottom; ++y) {
        EXPECT_NE(image.pixel(ob.x + w2 / 2, y) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_NE(image.pixel(ob.x + b.right - w2 / 2 - 1, y) & 0xFFFFFF, 0xFFFFFFu);
    }
    // The left bracket's top arm.
    IntPoint oc = Origin(*brackets);
    int w3 = brackets->GetDelimiterWidth();
    int top = oc.y + Bounds(*brackets).top;
    EXPECT_NE(image.pixel(oc.x + w3 - 1 - w3 / 4, top) & 0xFFFFFF, 0xFFFFFFu);

    // In a text paragraph the same fraction draws a slash between the rows;
    // 1/(x^2+1) shows its parentheses, between the slash and the
    // denominator and after the denominator.
    auto denominator = Chars("x+1");
    denominator->InsertAt(2, new ExponentComp(Chars("2")));
    for (auto* inline_ :
         {new FractionComp(Chars("a"), Chars("b")), new FractionComp(Chars("1"), std::move(denominator))}) {
        auto text = Paragraph(3, One(inline_));
        image.fill(Qt::white);
        text->GetRow()->Draw();
        IntPoint oi = Origin(*inline_);
        int from = oi.x + 1 + inline_->Numerator()->GetWidth();
        EXPECT_GT(InkIn(image, QRect(from, oi.y - 13, inline_->GetSlashWidth(), 18)), 0);
        // A parenthesis inks more than the antialiased edge of a neighbour.
        const auto fenceAt = [&](int left, int right) {
            return InkIn(image, QRect(left, oi.y - 13, right - left, 18)) > 8;
        };
        const int rowLeft = inline_->Denominator()->GetOrigin().x;
        const int rowRight = rowLeft + inline_->Denominator()->GetWidth();
        const bool fenced = inline_->Denominator()->GetCount() > 1;
        EXPECT_EQ(fenceAt(from + inline_->GetSlashWidth(), rowLeft), fenced);
        EXPECT_EQ(fenceAt(rowRight, oi.x + Bounds(*inline_).right), fenced);
    }

    // 2/3 then a square, and 2 over 3 squared, no longer show the same
    // pixels: the first has "(" before its numerator.
    QImage shown[2];
    for (bool onDenominator : {false, true}) {
        auto* square = new ExponentComp(Chars("2"));
        auto denominator = Chars("3");
        if (onDenominator)
            denominator->Append(square);
        auto* q = new FractionComp(Chars("2"), std::move(denominator));
        auto text = Paragraph(3, onDenominator ? One(q) : Items({q, square}));
        image.fill(Qt::white);
        text->GetRow()->Draw();
        shown[onDenominator] = image.copy();
        const IntPoint oq = Origin(*q);
        EXPECT_EQ(InkIn(image, QRect(oq.x, oq.y - 13, q->Numerator()->GetOrigin().x - oq.x, 18)) > 8, !onDenominator);
    }
    EXPECT_NE(shown[0], shown[1]);
}

} // namespace
