#include "app/dialogs/CDrawingPropertiesDialog.h"

#include "drawing/ShapeStyleChoice.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/DataExchange.h"

#include <string>

namespace {
constexpr int kWidthEdit = 1001;
constexpr int kWidthUnits = 1075;
constexpr int kHeightEdit = 1056;
constexpr int kHeightUnits = 1076;
constexpr int kShowFrameBox = 1002;
constexpr int kShowAxesBox = 1003;
constexpr int kXNameEdit = 1057;
constexpr int kYNameEdit = 1058;
constexpr int kShowGridBox = 1004;
constexpr int kGridThicknessList = 1131;
constexpr int kChangeButton = 1126;
constexpr int kSwatch = 1128;
constexpr int kMaxNameChars = 255;

void FillUnits(CComboBox& list)
{
    list.ResetContent();
    for (SizeUnit unit : {SizeUnit::Pixels, SizeUnit::Centimeters, SizeUnit::Inches})
        list.AddString(sizeunits::UnitText(unit));
    list.SetCurSel(0);
}
} // namespace

CDrawingPropertiesDialog::CDrawingPropertiesDialog(int width, int height, bool showAxes, const CString& xName,
                                                   const CString& yName, bool showGrid, int gridThickness,
                                                   COLORREF gridColour, bool showFrame, CWnd* parent)
    : CDialog(IDD, parent),
      m_nWidth(width),
      m_nHeight(height),
      m_bShowAxes(showAxes),
      m_strXName(xName),
      m_strYName(yName),
      m_bShowGrid(showGrid),
      m_strGridThickness(gridpen::ThicknessText(gridThickness)),
      m_nGridThickness(gridpen::ThicknessIndex(gridpen::ThicknessText(gridThickness))),
      m_gridColour(gridColour),
      m_bShowFrame(showFrame),
      m_width{kWidthEdit, kWidthUnits, SizeUnit::Pixels, sizeunits::kMaxPixels, "width"},
      m_height{kHeightEdit, kHeightUnits, SizeUnit::Pixels, sizeunits::kMaxPixels, "height"}
{
    MapNotify(CBN_SELENDOK, kWidthUnits, [this] { OnUnitChanged(m_width); });
    MapNotify(CBN_SELENDOK, kHeightUnits, [this] { OnUnitChanged(m_height); });
    MapNotify(BN_CLICKED, kChangeButton, [this] { OnChangeGridColour(); });
}

void CDrawingPropertiesDialog::SetSizeLimits(int32_t maxWidth, int32_t maxHeight)
{
    m_width.limit = maxWidth;
    m_height.limit = maxHeight;
}

BOOL CDrawingPropertiesDialog::OnInitDialog()
{
    // The lists are filled before the exchange selects their entries; both
    // sizes start in pixels.
    m_widthUnits.SubclassDlgItem(kWidthUnits, this);
    m_heightUnits.SubclassDlgItem(kHeightUnits, this);
    m_gridThickness.SubclassDlgItem(kGridThicknessList, this);
    FillUnits(m_widthUnits);
    FillUnits(m_heightUnits);
    m_width.unit = m_height.unit = SizeUnit::Pixels;
    m_gridThickness.ResetContent();
    for (const char* text : gridpen::kThicknessTexts)
        m_gridThickness.AddString(text);
    return CDialog::OnInitDialog();
}

void CDrawingPropertiesDialog::DoDataExchange(CDataExchange* dx)
{
    ExchangeSize(dx, m_width, m_nWidth);
    ExchangeSize(dx, m_height, m_nHeight);
    DDX_Check(dx, kShowFrameBox, m_bShowFrame);
    DDX_Check(dx, kShowAxesBox, m_bShowAxes);
    DDX_Text(dx, kXNameEdit, m_strXName);
    DDV_MaxChars(dx, m_strXName, kMaxNameChars);
    DDX_Text(dx, kYNameEdit, m_strYName);
    DDV_MaxChars(dx, m_strYName, kMaxNameChars);
    DDX_Check(dx, kShowGridBox, m_bShowGrid);
    DDX_CBString(dx, kGridThicknessList, m_strGridThickness);
    if (dx->m_bSaveAndValidate)
        m_nGridThickness = gridpen::ThicknessIndex(std::string(m_strGridThickness));
}

// Loading shows the pixels; saving reads the field in the unit its list
// shows and refuses what is no size, keeping the dialog open.
void CDrawingPropertiesDialog::ExchangeSize(CDataExchange* dx, SizeField& field, int32_t& pixels)
{
    CWnd* edit = dx->PrepareEditCtrl(field.edit);
    if (!edit)
        return;
    if (!dx->m_bSaveAndValidate) {
        edit->SetWindowText(sizeunits::FormatInUnit(pixels, SizeUnit::Pixels).c_str());
        return;
    }
    const sizeunits::SizeReading reading =
        sizeunits::ReadSize(std::string(edit->GetWindowText()), field.unit, field.name, field.limit);
    if (!reading.ok()) {
        AfxMessageBox(reading.error.c_str(), MB_OK | MB_ICONEXCLAMATION);
        dx->Fail();
    }
    pixels = reading.pixels;
}

// The field's value in the unit it was shown in, shown again in the unit
// now chosen. Text that is no number is left as typed for OK to refuse.
void CDrawingPropertiesDialog::OnUnitChanged(SizeField& field)
{
    CComboBox& list = field.unitList == kWidthUnits ? m_widthUnits : m_heightUnits;
    const int chosen = list.GetCurSel();
    if (chosen < 0)
        return;
    const auto next = static_cast<SizeUnit>(chosen);
    CString text;
    GetDlgItemText(field.edit, text);
    if (const auto value = sizeunits::ParseNumber(std::string(text))) {
        const double pixels = sizeunits::ToPixels(*value, field.unit);
        SetDlgItemText(field.edit, sizeunits::FormatInUnit(pixels, next).c_str());
    }
    field.unit = next;
}

CRect CDrawingPropertiesDialog::SwatchRect() const
{
    CRect rect;
    if (CWnd* swatch = GetDlgItem(kSwatch)) {
        swatch->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CDrawingPropertiesDialog::OnChangeGridColour()
{
    CColorDialog picker(m_gridColour, 0, this);
    if (picker.DoModal() != IDOK)
        return;
    m_gridColour = picker.GetColor();
    CRect swatch = SwatchRect();
    InvalidateRect(&swatch);
    UpdateWindow();
}

void CDrawingPropertiesDialog::OnPaint()
{
    CPaintDC dc(this);
    dc.FillSolidRect(SwatchRect(), m_gridColour);
}
