#pragma once
// "Drawing Properties": the drawing's size, its frame, axes and plot
// variable names, and its background grid. The size is exchanged in
// screen pixels of 1/96 inch (the unit lists call them "Points"); each size
// field has its own unit list, and changing a unit shows the field's value
// in the new unit. A size that is not a number, not positive or too large
// is refused with a message and the dialog stays open.
#include "drawing/DrawingSizeUnits.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"

class CDrawingPropertiesDialog : public CDialog {
public:
    enum : UINT { IDD = 198 };

    CDrawingPropertiesDialog(int width, int height, bool showAxes, const CString& xName, const CString& yName,
                             bool showGrid, int gridThickness, COLORREF gridColour, bool showFrame,
                             CWnd* parent = nullptr);

    // The largest width and height in pixels the drawing can take.
    void SetSizeLimits(int32_t maxWidth, int32_t maxHeight);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    int32_t m_nWidth;
    int32_t m_nHeight;
    bool m_bShowAxes;
    CString m_strXName;
    CString m_strYName;
    bool m_bShowGrid;
    CString m_strGridThickness;
    int m_nGridThickness;
    COLORREF m_gridColour;
    bool m_bShowFrame;

protected:
    void OnPaint() override;

private:
    struct SizeField {
        int edit;
        int unitList;
        SizeUnit unit;
        int32_t limit;
        const char* name;
    };
    void ExchangeSize(CDataExchange* dx, SizeField& field, int32_t& pixels);
    void OnUnitChanged(SizeField& field);
    void OnChangeGridColour();
    CRect SwatchRect() const;

    SizeField m_width;
    SizeField m_height;
    CComboBox m_widthUnits;
    CComboBox m_heightUnits;
    CComboBox m_gridThickness;
};
