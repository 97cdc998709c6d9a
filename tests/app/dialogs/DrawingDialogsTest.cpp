// The drawing dialogs over the program's templates, headless: what they
// show, what they hand back after OK and after Cancel, the sizes they
// refuse, and the command steps that apply them to a drawing. The user's
// part is scripted.
#include <QColorDialog>
#include <QComboBox>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DrawingDialogCommands.h"
#include "app/dialogs/CColorFillDialog.h"
#include "app/dialogs/CCreateVertexDialog.h"
#include "app/dialogs/CDrawingPropertiesDialog.h"
#include "app/dialogs/CVariablePropertiesDialog.h"
#include "app/dialogs/CVariableValuesDialog.h"
#include "drawing/CircleShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/TAction.h"
#include "foundation/TextPrefs.h"
#include "math/MathComponents.h"
#include "platform/framework/CommonDialogs.h"
#include "resources/ProgramResources.h"
#include "support/FakeUserInterface.h"
#include "DialogScript.h"
#include "drawing/ScriptedKernel.h"
#include "kernel/KernelServices.h"

namespace {

// Every dialog the code under test opens is handled by the script.
class ScriptedDialogs {
public:
    explicit ScriptedDialogs(CDialog::ModalHook script) : m_old(CDialog::SetModalHook(std::move(script))) {}
    ~ScriptedDialogs() { CDialog::SetModalHook(m_old); }

private:
    CDialog::ModalHook m_old;
};

std::string Text(CDialog& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return std::string(text);
}

// Picks an entry of a unit list as the user does.
void ChooseUnit(CDialog& dialog, int list, int index)
{
    Combo(dialog, list)->setCurrentIndex(index);
    dialog.OnControlNotify(CBN_SELENDOK, list);
}

const QStringList kUnits{"Points", "Centimeters", "Inches"};

class DrawingDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    }
    FakeUserInterface ui;
};

} // namespace

TEST_F(DrawingDialogsTest, ColorAndFillShowsTheStyleAndHandsBackTheChoice)
{
    const ShapeStyle filled{2 + 2 * 8, RGB(1, 2, 3), RGB(40, 50, 60), true};
    CColorFillDialog d(filled);
    int result = RunScripted(d, [](CDialog& dialog) {
        EXPECT_EQ(Items(Combo(dialog, 1076)), (QStringList{"0.5 Thin", "1.0 Medium", "2.0 Thick"}));
        EXPECT_EQ(Combo(dialog, 1075)->count(), 5);
        EXPECT_EQ(Combo(dialog, 1076)->currentIndex(), 2);
        EXPECT_EQ(Combo(dialog, 1075)->currentIndex(), 2);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_CHECKED));
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ShapeStyle out;
    d.GetStyle(out);
    EXPECT_EQ(out, filled);

    // The fill colour changes through its button; lists left without a
    // choice give medium thickness and no dashing.
    CommonDialogHook old = SetCommonDialogHook([](QDialog& picker) {
        static_cast<QColorDialog&>(picker).setCurrentColor(QColor(200, 100, 50));
        return int(QDialog::Accepted);
    });
    CColorFillDialog changed(filled);
    RunScripted(changed, [](CDialog& dialog) {
        dialog.PressButton(1127);
        Combo(dialog, 1076)->setCurrentIndex(-1);
        Combo(dialog, 1075)->setCurrentIndex(-1);
        dialog.CheckDlgButton(1002, BST_UNCHECKED);
        dialog.PressButton(IDOK);
    });
    changed.GetStyle(out);
    EXPECT_EQ(out, (ShapeStyle{1, RGB(1, 2, 3), RGB(200, 100, 50), false}));

    SetCommonDialogHook(old);
}

TEST_F(DrawingDialogsTest, TheColourCommandChangesTheSelectedShapesOnOkAndNothingOnCancel)
{
    DiagramComp drawing;
    auto* segment = new SegmentShape(new VertexShape(0, 0), new VertexShape(1, 0));
    segment->SetStyle(ShapeStyle{2, RGB(9, 9, 9), RGB(255, 255, 255), false});
    const ShapeStyle round{0, RGB(0, 0, 255), RGB(0, 255, 0), true};
    auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false), round);
    drawing.AddShape(segment);
    drawing.AddShape(circle);
    drawing.SelectShape(segment, true);
    drawing.SelectShape(circle, true);
    const ShapeStyle segmentStyle = segment->GetStyle();

    // A closed shape is selected: "Color and Fill", from the segment's style.
    UINT opened = 0;
    {
        ScriptedDialogs script([&](CDialog& dialog) {
            opened = dialog.m_nIDTemplate;
            EXPECT_EQ(Combo(dialog, 1076)->currentIndex(), 2);
            EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_UNCHECKED));
            Combo(dialog, 1076)->setCurrentIndex(0);
            dialog.PressButton(IDCANCEL);
        });
        EXPECT_FALSE(EditSelectionStyle(drawing));
    }
    EXPECT_EQ(opened, UINT(CColorFillDialog::IDD));
    EXPECT_EQ(segment->GetStyle(), segmentStyle);
    EXPECT_EQ(circle->GetStyle(), round);

    {
        ScriptedDialogs script([](CDialog& dialog) {
            Combo(dialog, 1076)->setCurrentIndex(0);
            dialog.PressButton(IDOK);
        });
        EXPECT_TRUE(EditSelectionStyle(drawing));
    }
    EXPECT_EQ(segment->GetStyle().penStyle, 0);
    EXPECT_EQ(circle->GetStyle().penStyle, 0);
    EXPECT_EQ(circle->GetStyle().lineColour, segmentStyle.lineColour);

    // Open shapes only: "Line Properties".
    drawing.DeselectAll(false);
    drawing.SelectShape(segment, false);
    {
        ScriptedDialogs script([&](CDialog& dialog) {
            opened = dialog.m_nIDTemplate;
            dialog.PressButton(IDCANCEL);
        });
        EXPECT_FALSE(EditSelectionStyle(drawing));
    }
    EXPECT_EQ(opened, 194u);
}

TEST_F(DrawingDialogsTest, DrawingSizesAreShownAndReadInTheirUnits)
{
    CDrawingPropertiesDialog d(300, 200, true, "t", "u", false, 0, RGB(1, 1, 1), true);
    int result = RunScripted(d, [](CDialog& dialog) {
        EXPECT_EQ(Items(Combo(dialog, 1075)), kUnits);
        EXPECT_EQ(Items(Combo(dialog, 1076)), kUnits);
        EXPECT_EQ(Combo(dialog, 1075)->currentText(), "Points");
        EXPECT_EQ(Text(dialog, 1001), "300");
        EXPECT_EQ(Text(dialog, 1056), "200");
        EXPECT_EQ(Text(dialog, 1057), "t");
        EXPECT_EQ(Combo(dialog, 1131)->currentText(), "0.5 Thin");
        EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_CHECKED));
        EXPECT_EQ(dialog.IsDlgButtonChecked(1003), UINT(BST_CHECKED));
        EXPECT_EQ(dialog.IsDlgButtonChecked(1004), UINT(BST_UNCHECKED));

        // 96 points are one inch, and back.
        dialog.SetDlgItemText(1001, "96");
        ChooseUnit(dialog, 1075, 2);
        EXPECT_EQ(Text(dialog, 1001), "1.00");
        ChooseUnit(dialog, 1075, 1);
        EXPECT_EQ(Text(dialog, 1001), "2.54");
        ChooseUnit(dialog, 1075, 0);
        EXPECT_EQ(Text(dialog, 1001), "96");

        // 2.54 cm of height while the width stays in points.
        ChooseUnit(dialog, 1076, 1);
        dialog.SetDlgItemText(1056, "2.54");
        Combo(dialog, 1131)->setCurrentIndex(2);
        dialog.SetDlgItemText(1058, "v");
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(d.m_nWidth, 96);
    EXPECT_EQ(d.m_nHeight, 96);
    EXPECT_EQ(d.m_nGridThickness, 2);
    EXPECT_EQ(std::string(d.m_strYName), "v");
}

TEST_F(DrawingDialogsTest, SizesThatAreNoPositiveSizeKeepTheDialogOpenWithAMessage)
{
    CDrawingPropertiesDialog d(300, 200, false, "x", "y", true, 1, RGB(1, 1, 1), true);
    d.SetSizeLimits(1000, 1000);
    RunScripted(d, [&](CDialog& dialog) {
        for (const char* typed : {"0", "-20", "abc", ""}) {
            SCOPED_TRACE(typed);
            ui.boxes.clear();
            dialog.SetDlgItemText(1001, typed);
            dialog.PressButton(IDOK);
            EXPECT_FALSE(dialog.IsEnded());
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_NE(ui.LastBoxText().find("width"), std::string::npos);
            EXPECT_EQ(Text(dialog, 1001), typed);  // what was typed stays to be mended
        }
        dialog.SetDlgItemText(1001, "250");
        ChooseUnit(dialog, 1076, 2);
        dialog.SetDlgItemText(1056, "11");  // beyond the limit of this drawing
        dialog.PressButton(IDOK);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(ui.LastBoxText(),
                  "The drawing's height must be at least 1 point (1/96 inch) and at most 10.42 inches.");
        dialog.SetDlgItemText(1056, "10");
        dialog.PressButton(IDOK);
        EXPECT_TRUE(dialog.IsEnded());
    });
    EXPECT_EQ(d.m_nWidth, 250);
    EXPECT_EQ(d.m_nHeight, 960);
}

TEST_F(DrawingDialogsTest, ThePropertiesCommandAppliesOkAndLeavesTheDrawingAloneOnCancel)
{
    DiagramComp drawing;
    drawing.Measure();
    Rect before;
    drawing.GetBounds(before);
    const int32_t width = drawing.GetWidth32();
    {
        ScriptedDialogs script([](CDialog& dialog) {
            dialog.SetDlgItemText(1057, "changed");
            dialog.PressButton(IDCANCEL);
        });
        EXPECT_FALSE(EditDrawingProperties(drawing));
    }
    EXPECT_TRUE(drawing.GetXName().EqualsText("x"));
    EXPECT_EQ(drawing.GetWidth32(), width);

    {
        ScriptedDialogs script([&](CDialog& dialog) {
            EXPECT_EQ(Text(dialog, 1001), std::to_string(before.Width()));
            dialog.SetDlgItemText(1001, std::to_string(before.Width() * 2).c_str());
            dialog.SetDlgItemText(1057, "s");
            dialog.SetDlgItemText(1058, "w");
            dialog.CheckDlgButton(1002, BST_UNCHECKED);
            dialog.CheckDlgButton(1003, BST_CHECKED);
            dialog.CheckDlgButton(1004, BST_CHECKED);
            Combo(dialog, 1131)->setCurrentIndex(0);
            dialog.PressButton(IDOK);
        });
        EXPECT_TRUE(EditDrawingProperties(drawing));
    }
    EXPECT_TRUE(drawing.GetXName().EqualsText("s"));
    EXPECT_TRUE(drawing.GetYName().EqualsText("w"));
    EXPECT_FALSE(drawing.GetShowFrame());
    EXPECT_TRUE(drawing.GetShowAxes());
    EXPECT_TRUE(drawing.GetShowGrid());
    EXPECT_EQ(drawing.GetGridThickness(), 0);
    EXPECT_NEAR(drawing.GetWidth32(), 2 * width, 2);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DrawingDialogsTest, ShowVariableValueBeepsWithoutNamesAndLabelsTheChosenVariable)
{
    RegisterMathComponents();
    TextPrefs prefs;
    FontManager fonts(prefs);
    DiagramComp drawing;
    drawing.Measure();
    bool opened = false;
    ScriptedDialogs script([&](CDialog& dialog) {
        opened = true;
        EXPECT_EQ(Items(Combo(dialog, 1075)), (QStringList{"a", "bc"}));
        EXPECT_EQ(Combo(dialog, 1075)->currentIndex(), 0);
        Combo(dialog, 1075)->setCurrentIndex(1);
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(ChooseVariableValueLabel(drawing), nullptr);
    EXPECT_FALSE(opened);
    EXPECT_EQ(ui.beeps.size(), 1u);

    // The names come from the kernel, asked before the list is shown: the
    // drawing's variables, then the values they lack.
    InstallKernelServices();
    ScriptedKernel kernel({"List[Rule[a, 1.], Rule[bc, 2.5]]", "List[List[], List[]]"});
    std::unique_ptr<TAction> action(ChooseVariableValueLabel(drawing));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(opened);
    const std::vector<std::string> written = kernel.Written();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].rfind("EvaluatePacket[VXVariableCheck[", 0), 0u) << written[0];
    EXPECT_EQ(written[1].rfind("EvaluatePacket[VXCheckDeficit[", 0), 0u) << written[1];
    // A free label "bc = " and the value display of bc, not yet added.
    auto* adding = dynamic_cast<TAddLabelAction*>(action.get());
    ASSERT_NE(adding, nullptr);
    DrawLabel* label = adding->GetLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetOwner(), nullptr);
    EXPECT_EQ(label->GetDiagram(), &drawing);
    CompList* text = label->GetText();
    ASSERT_EQ(text->GetCount(), 6);
    EXPECT_EQ(text->GetAt(1), gMathFace->GetCharacter('b'));
    EXPECT_EQ(text->GetAt(4), gMathFace->GetCharacter('='));
    auto* value = dynamic_cast<DrawValueComp*>(text->GetAt(6));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->GetVariable(), drawing.GetVariables().Find("bc"));
    EXPECT_TRUE(drawing.GetLabels().IsEmpty());
}

namespace {

// A view that keeps the undo step as the editing view does.
struct UndoStepView : ActionView {
    DocSelection GetSelection() const override { return {}; }
    void SetSelection(const DocSelection&, bool) override {}
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int, int) override {}
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection&) override {}
    ParagraphList* GetParagraphList() const override { return nullptr; }
};

} // namespace

TEST_F(DrawingDialogsTest, AValueDisplaysDialogLocksAndMovesItsVariableOrRefusesWhatIsNoNumber)
{
    RegisterMathComponents();
    TextPrefs prefs;
    FontManager fonts(prefs);
    struct Case {
        const char* typed; // null: the value is left as shown
        bool lock;
        int button;
        bool changed;
        bool fixed;
        double value;
    };
    const Case cases[] = {
        {nullptr, true, IDOK, true, true, 2.0},
        {"3.5", false, IDOK, true, false, 3.5},
        {"4.25", true, IDOK, true, true, 4.25},
        {"three", true, IDOK, false, false, 2.0},
        {"7", true, IDCANCEL, false, false, 2.0},
    };
    for (const Case& c : cases) {
        const std::string name = c.typed ? c.typed : "(shown)";
        DiagramComp drawing;
        auto* vertex = new VertexShape(2.0, 1.0);
        drawing.AddShape(vertex);
        DrawValueComp display(vertex->GetXVar());
        ui.boxes.clear();
        ScriptedDialogs script([&](CDialog& dialog) {
            EXPECT_EQ(Text(dialog, 1000), "2.00") << name;
            EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_UNCHECKED)) << name;
            if (c.typed)
                dialog.SetDlgItemText(1000, c.typed);
            dialog.CheckDlgButton(1002, c.lock ? BST_CHECKED : BST_UNCHECKED);
            dialog.PressButton(c.button);
        });
        UndoStepView view;
        ActionHost host(view);
        TAction* edit = EditValueDisplay(display);
        EXPECT_EQ(edit != nullptr, c.changed) << name;
        host.Perform(edit);
        // The value typed is one step: undo puts the lock and the value back, redo sets them again.
        for (const bool done : {true, false, true}) {
            EXPECT_EQ(host.MenuEnabled(), c.changed) << name;
            EXPECT_EQ(vertex->GetXVar()->IsFixed(), done && c.fixed) << name;
            EXPECT_DOUBLE_EQ(vertex->GetXVar()->GetValue(), done ? c.value : 2.0) << name;
            host.UndoOrRedo();
        }
        // Only a text that is no number is answered with a message.
        EXPECT_EQ(ui.boxes.size(), !c.changed && c.button == IDOK ? 1u : 0u) << name;
    }
}

TEST_F(DrawingDialogsTest, VariablePropertiesAndCreateVertexExchangeTheirFields)
{
    CVariablePropertiesDialog properties(true, "2.5");
    RunScripted(properties, [](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1000), "2.5");
        EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_CHECKED));
        dialog.CheckDlgButton(1002, BST_UNCHECKED);
        dialog.PressButton(IDOK);
    });
    EXPECT_FALSE(properties.m_bLocked);

    CCreateVertexDialog vertex(1.5, -2);
    RunScripted(vertex, [&](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1132), "1.5");
        dialog.SetDlgItemText(1133, "0.25");
        dialog.PressButton(IDOK);
    });
    EXPECT_DOUBLE_EQ(vertex.m_y, 0.25);
}
