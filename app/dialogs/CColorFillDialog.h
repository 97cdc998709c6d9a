#pragma once
// "Color and Fill" of closed shapes: line thickness and dashing, the line
// and fill colours (each picked in the colour dialog by its "Change..."
// button and shown in its swatch) and whether the shape is filled.
#include "drawing/ShapeStyleChoice.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"

class CColorFillDialog : public CDialog {
public:
    enum : UINT { IDD = 192 };

    explicit CColorFillDialog(const ShapeStyle& style, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The style the dialog stands for: after OK the choices, otherwise the
    // style it was given.
    void GetStyle(ShapeStyle& out) const;

    ShapeStyleChoice m_choice;

protected:
    void OnPaint() override;

private:
    void PickColour(COLORREF& colour, int swatchId);
    CRect SwatchRect(int id) const;

    ShapeStyle m_original;
    CComboBox m_thickness;
    CComboBox m_dashing;
};
