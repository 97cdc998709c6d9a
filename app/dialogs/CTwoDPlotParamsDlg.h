#pragma once
// "Plot Parameters" of a 2-D plot: the name and the two ends of the
// horizontal and of the vertical axis. Bounds must read as numbers; equal
// or reversed bounds are accepted (the plot shows them mirrored or empty).
#include "platform/framework/CDialog.h"

#include <string>
#include <vector>

struct PlotAxisParameters;

class CTwoDPlotParamsDlg : public CDialog {
public:
    enum : UINT { IDD = 147 };
    CTwoDPlotParamsDlg(const CString& xName, double xMin, double xMax, const CString& yName, double yMin, double yMax,
                       CWnd* parent = nullptr)
        : CTwoDPlotParamsDlg(IDD, xName, xMin, xMax, yName, yMin, yMax, parent)
    {}
    void DoDataExchange(CDataExchange* dx) override;

    CString m_strXName;
    double m_dXMin;
    double m_dXMax;
    CString m_strYName;
    double m_dYMin;
    double m_dYMax;

protected:
    // For a dialog that shows more axes after these two.
    CTwoDPlotParamsDlg(UINT idd, const CString& xName, double xMin, double xMax, const CString& yName, double yMin,
                       double yMax, CWnd* parent)
        : CDialog(idd, parent), m_strXName(xName), m_dXMin(xMin), m_dXMax(xMax), m_strYName(yName), m_dYMin(yMin),
          m_dYMax(yMax)
    {}
};

// The plots' parameter dialog: shows the two axes and, on OK, answers the
// values typed.
bool AskTwoDPlotParameters(std::vector<PlotAxisParameters>& axes);
