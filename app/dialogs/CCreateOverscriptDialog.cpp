#include "app/dialogs/CCreateOverscriptDialog.h"

#include <iterator>

#include "platform/framework/DataExchange.h"

namespace {

constexpr int kTextField = 1000;
constexpr int kMaxTextChars = 255;

struct KindButton {
    int id;
    int kind;
};
constexpr KindButton kButtons[] = {
    {1054, CCreateOverscriptDialog::kHat},       {1055, CCreateOverscriptDialog::kTilde},
    {1118, CCreateOverscriptDialog::kDot},       {1119, CCreateOverscriptDialog::kDoubleDot},
    {1120, CCreateOverscriptDialog::kVector},    {1121, CCreateOverscriptDialog::kBar},
};

}

CCreateOverscriptDialog::CCreateOverscriptDialog(int kind, const CString& text, CWnd* parent)
    : CDialog(IDD, parent), m_nKind(kind), m_strText(text)
{
    for (const KindButton& b : kButtons)
        MapNotify(BN_CLICKED, UINT(b.id), [this, kind = b.kind] { m_nKind = kind; });
}

int CCreateOverscriptDialog::ButtonOfKind(int kind)
{
    for (const KindButton& b : kButtons)
        if (b.kind == kind)
            return b.id;
    return 0;
}

int CCreateOverscriptDialog::KindOfButton(int id)
{
    for (const KindButton& b : kButtons)
        if (b.id == id)
            return b.kind;
    return -1;
}

BOOL CCreateOverscriptDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const KindButton& b : kButtons)
        CheckDlgButton(b.id, b.id == ButtonOfKind(m_nKind) ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CCreateOverscriptDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, kTextField, m_strText);
    DDV_MaxChars(dx, m_strText, kMaxTextChars);
}
