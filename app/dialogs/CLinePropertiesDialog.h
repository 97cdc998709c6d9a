#pragma once
// The thickness, dashing, colour and arrow heads of a line, from and back to
// its line style: pen flags (bits 0-2 thickness index, bits 3-5 dashing
// index, 64 an arrow head at the right (end) vertex, 128 one at the left
// (start) vertex) and an RGB colour. "Change..." picks the colour in the
// colour dialog; the swatch shows it.
#include <cstdint>

#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"

struct LineStyle {
    int32_t flags = 1;
    COLORREF colour = 0;
};

class CLinePropertiesDialog : public CDialog {
public:
    enum : UINT { IDD = 194 };
    enum : int32_t { kThicknessMask = 7, kDashShift = 3, kRightArrow = 64, kLeftArrow = 128 };

    explicit CLinePropertiesDialog(const LineStyle& style, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The style the dialog stands for: after OK the confirmed fields,
    // otherwise the style it was given.
    LineStyle GetLineStyle() const;

    // The entries of the two lists, in order.
    static const char* const kThicknessTexts[3];
    static const char* const kDashingTexts[5];

    int m_nThickness;
    int m_nDashing;
    COLORREF m_colour;
    bool m_bLeftArrow;
    bool m_bRightArrow;

protected:
    void OnPaint() override;

private:
    void OnChangeColour();
    CRect SwatchRect() const;

    LineStyle m_original;
    CComboBox m_thickness;
    CComboBox m_dashing;
};
