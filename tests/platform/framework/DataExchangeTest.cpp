// The data-exchange calls one by one: what each refuses and with which text,
// how values are shown, and that a refused value leaves the member alone.
#include <QComboBox>
#include <QLineEdit>

#include "FrameworkTestSupport.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogControls.h"
#include "support/FakeUserInterface.h"

namespace {

// A window with the controls of dialog 9001, for exchanging one value at a time.
class Host : public CWnd {
public:
    Host()
    {
        SetWidget(new QWidget, true);
        CreateControlsFromTemplate(9001);
    }
    // Runs one exchange; false when it was refused.
    bool Save(const std::function<void(CDataExchange*)>& exchange)
    {
        CDataExchange dx(this, TRUE);
        try {
            exchange(&dx);
        } catch (const CUserException&) {
            return false;
        }
        return true;
    }
    void Load(const std::function<void(CDataExchange*)>& exchange)
    {
        CDataExchange dx(this, FALSE);
        exchange(&dx);
    }
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { LoadTestResources(); }
    FakeUserInterface ui;
};

}

TEST_F(DataExchangeTest, NumbersAreReadStrictlyAndRangesUseTheFrameworksTexts)
{
    Host host;
    UINT level = 7;
    host.SetDlgItemText(1000, "-3");
    EXPECT_FALSE(host.Save([&](CDataExchange* dx) { DDX_Text(dx, 1000, level); }));
    EXPECT_EQ(ui.LastBoxText(), "Please enter a positive integer.");
    EXPECT_EQ(level, 7u);
    host.SetDlgItemText(1000, "256");
    EXPECT_FALSE(host.Save([&](CDataExchange* dx) {
        DDX_Text(dx, 1000, level);
        DDV_MinMaxUInt(dx, level, 0, 255);
    }));
    EXPECT_EQ(ui.LastBoxText(), "Please enter an integer between 0 and 255.");

    int page = 0;
    for (const char* bad : {"", "12abc", "1.5", "99999999999"}) {
        host.SetDlgItemText(1000, bad);
        EXPECT_FALSE(host.Save([&](CDataExchange* dx) { DDX_Text(dx, 1000, page); })) << bad;
        EXPECT_EQ(ui.LastBoxText(), "Please enter an integer.");
    }
    host.SetDlgItemText(1000, " 32767 ");
    EXPECT_TRUE(host.Save([&](CDataExchange* dx) {
        DDX_Text(dx, 1000, page);
        DDV_MinMaxInt(dx, page, 1, 32767);
    }));
    EXPECT_EQ(page, 32767);
    // The failing control gets the focus with its text selected.
    host.SetDlgItemText(1001, "x");
    double value = 0;
    host.widget()->show();
    EXPECT_FALSE(host.Save([&](CDataExchange* dx) { DDX_Text(dx, 1001, value); }));
    auto* edit = qobject_cast<QLineEdit*>(host.GetDlgItem(1001)->widget());
    EXPECT_EQ(edit->selectedText(), "x");
}

TEST_F(DataExchangeTest, DoublesShowFifteenSignificantDigits)
{
    Host host;
    CString text;
    for (auto [value, shown] : {std::pair{0.1, "0.1"}, {1e21, "1e+21"}, {1.0 / 7.0, "0.142857142857143"}}) {
        double v = value;
        host.Load([&](CDataExchange* dx) { DDX_Text(dx, 1001, v); });
        host.GetDlgItemText(1001, text);
        EXPECT_EQ(text, shown);
    }
    host.SetDlgItemText(1001, "inf");
    double v = 1;
    EXPECT_FALSE(host.Save([&](CDataExchange* dx) { DDX_Text(dx, 1001, v); }));
    EXPECT_EQ(ui.LastBoxText(), "Please enter a number.");
}

TEST_F(DataExchangeTest, ComboAndListExchangeByIndexAndText)
{
    Host host;
    CComboBox combo;
    combo.Attach(host.GetDlgItem(1004)->widget());
    for (const char* item : {"0.5 Thin", "1.0 Medium", "2.0 Thick"})
        combo.AddString(item);
    CString chosen = "2.0";
    host.Load([&](CDataExchange* dx) { DDX_CBString(dx, 1004, chosen); });
    EXPECT_EQ(combo.GetCurSel(), 2);
    int index = -5;
    EXPECT_TRUE(host.Save([&](CDataExchange* dx) { DDX_CBIndex(dx, 1004, index); }));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(combo.FindStringExact(-1, "1.0 MEDIUM"), 1);
    EXPECT_EQ(combo.FindString(0, "0.5"), 0);  // the search wraps round
    EXPECT_EQ(combo.SelectString(-1, "nothing"), CB_ERR);
    EXPECT_EQ(host.GetDlgItem(1004), &combo);  // the member answers to the control's id
    combo.Detach();
    ASSERT_NE(host.GetDlgItem(1004), nullptr);  // and gives it back
    EXPECT_NE(host.GetDlgItem(1004), &combo);
}
