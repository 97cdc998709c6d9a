#pragma once
// "Plot Parameters" of a 3-D plot: the name, minimum and maximum of each of
// its three axes (Axis One is x, Two y, Three z). Bounds must read as
// numbers; equal or reversed bounds are accepted. The first two axes are
// the fields of the 2-D plots' dialog.
#include "app/dialogs/CTwoDPlotParamsDlg.h"

class CThreeDPlotParamsDlg : public CTwoDPlotParamsDlg {
public:
    enum : UINT { IDD = 148 };
    CThreeDPlotParamsDlg(const CString& xName, double xMin, double xMax, const CString& yName, double yMin,
                         double yMax, const CString& zName, double zMin, double zMax, CWnd* parent = nullptr)
        : CTwoDPlotParamsDlg(IDD, xName, xMin, xMax, yName, yMin, yMax, parent), m_strZName(zName), m_dZMin(zMin),
          m_dZMax(zMax)
    {}
    void DoDataExchange(CDataExchange* dx) override;

    CString m_strZName;
    double m_dZMin;
    double m_dZMax;
};

// The 3-D plots' parameter dialog: shows the three axes and, on OK, answers
// the values typed.
bool AskThreeDPlotParameters(std::vector<PlotAxisParameters>& axes);
// The dialog of a plot with two or with three axes.
bool AskPlotParametersOfAxes(std::vector<PlotAxisParameters>& axes);
