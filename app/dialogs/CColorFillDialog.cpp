#include "app/dialogs/CColorFillDialog.h"

#include "app/dialogs/CLinePropertiesDialog.h"
#include "platform/framework/CView.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/DataExchange.h"

namespace {
constexpr int kThicknessList = 1076;
constexpr int kDashingList = 1075;
constexpr int kUseFillBox = 1002;
constexpr int kLineButton = 1126;
constexpr int kFillButton = 1127;
constexpr int kLineSwatch = 1128;
constexpr int kFillSwatch = 1129;
} // namespace

CColorFillDialog::CColorFillDialog(const ShapeStyle& style, CWnd* parent)
    : CDialog(IDD, parent), m_choice(ShapeStyleChoice::FromStyle(style)), m_original(style)
{
    MapNotify(BN_CLICKED, kLineButton, [this] { PickColour(m_choice.lineColour, kLineSwatch); });
    MapNotify(BN_CLICKED, kFillButton, [this] { PickColour(m_choice.fillColour, kFillSwatch); });
}

BOOL CColorFillDialog::OnInitDialog()
{
    // The lists are filled before the exchange selects their entries.
    m_thickness.SubclassDlgItem(kThicknessList, this);
    m_dashing.SubclassDlgItem(kDashingList, this);
    m_thickness.ResetContent();
    for (const char* text : CLinePropertiesDialog::kThicknessTexts)
        m_thickness.AddString(text);
    m_dashing.ResetContent();
    for (const char* text : CLinePropertiesDialog::kDashingTexts)
        m_dashing.AddString(text);
    return CDialog::OnInitDialog();
}

void CColorFillDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_CBIndex(dx, kThicknessList, m_choice.thickness);
    DDX_CBIndex(dx, kDashingList, m_choice.dash);
    DDX_Check(dx, kUseFillBox, m_choice.useFill);
}

void CColorFillDialog::GetStyle(ShapeStyle& out) const
{
    out = GetResult() == IDOK ? m_choice.ToStyle() : m_original;
}

CRect CColorFillDialog::SwatchRect(int id) const
{
    CRect rect;
    if (CWnd* swatch = GetDlgItem(id)) {
        swatch->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CColorFillDialog::PickColour(COLORREF& colour, int swatchId)
{
    CColorDialog picker(colour, 0, this);
    if (picker.DoModal() != IDOK)
        return;
    colour = picker.GetColor();
    CRect swatch = SwatchRect(swatchId);
    InvalidateRect(&swatch);
    UpdateWindow();
}

void CColorFillDialog::OnPaint()
{
    CPaintDC dc(this);
    dc.FillSolidRect(SwatchRect(kLineSwatch), m_choice.lineColour);
    dc.FillSolidRect(SwatchRect(kFillSwatch), m_choice.fillColour);
}
