#include "app/dialogs/CLinePropertiesDialog.h"

#include "platform/framework/CView.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/DataExchange.h"

namespace {
constexpr int kDashingList = 1075;
constexpr int kThicknessList = 1076;
constexpr int kLeftArrowBox = 1003;
constexpr int kRightArrowBox = 1004;
constexpr int kChangeButton = 1126;
constexpr int kSwatch = 1128;
}

const char* const CLinePropertiesDialog::kThicknessTexts[3] = {"0.5 Thin", "1.0 Medium", "2.0 Thick"};
const char* const CLinePropertiesDialog::kDashingTexts[5] = {
    "No Dashing", "--  --  --  --  --", "- - - - - - - - - ", "--  -  --  -  --  -", "---  ---  ---  ---"};

CLinePropertiesDialog::CLinePropertiesDialog(const LineStyle& style, CWnd* parent)
    : CDialog(IDD, parent),
      m_nThickness(style.flags & kThicknessMask),
      m_nDashing((style.flags >> kDashShift) & 7),
      m_colour(style.colour),
      m_bLeftArrow((style.flags & kLeftArrow) != 0),
      m_bRightArrow((style.flags & kRightArrow) != 0),
      m_original(style)
{
    MapNotify(BN_CLICKED, kChangeButton, [this] { OnChangeColour(); });
}

BOOL CLinePropertiesDialog::OnInitDialog()
{
    // The lists are filled before the exchange selects their entries.
    m_thickness.SubclassDlgItem(kThicknessList, this);
    m_dashing.SubclassDlgItem(kDashingList, this);
    m_thickness.ResetContent();
    for (const char* text : kThicknessTexts)
        m_thickness.AddString(text);
    m_dashing.ResetContent();
    for (const char* text : kDashingTexts)
        m_dashing.AddString(text);
    return CDialog::OnInitDialog();
}

void CLinePropertiesDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_CBIndex(dx, kThicknessList, m_nThickness);
    DDX_CBIndex(dx, kDashingList, m_nDashing);
    DDX_Check(dx, kLeftArrowBox, m_bLeftArrow);
    DDX_Check(dx, kRightArrowBox, m_bRightArrow);
}

LineStyle CLinePropertiesDialog::GetLineStyle() const
{
    if (GetResult() != IDOK)
        return m_original;
    int thickness = m_nThickness >= 0 ? m_nThickness : 1;
    int dashing = m_nDashing >= 0 ? m_nDashing : 0;
    LineStyle style;
    style.colour = m_colour;
    style.flags = thickness;
    if (dashing > 0)
        style.flags |= dashing << kDashShift;
    if (m_bLeftArrow)
        style.flags |= kLeftArrow;
    if (m_bRightArrow)
        style.flags |= kRightArrow;
    return style;
}

CRect CLinePropertiesDialog::SwatchRect() const
{
    CRect rect;
    if (CWnd* swatch = GetDlgItem(kSwatch)) {
        swatch->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CLinePropertiesDialog::OnChangeColour()
{
    CColorDialog picker(m_colour, 0, this);
    if (picker.DoModal() != IDOK)
        return;
    m_colour = picker.GetColor();
    CRect swatch = SwatchRect();
    InvalidateRect(&swatch);
}

void CLinePropertiesDialog::OnPaint()
{
    CPaintDC dc(this);
    dc.FillSolidRect(SwatchRect(), m_colour);
}
