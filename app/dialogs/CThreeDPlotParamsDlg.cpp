#include "app/dialogs/CThreeDPlotParamsDlg.h"

#include "platform/framework/DataExchange.h"
#include "plot/PlotComp.h"

void CThreeDPlotParamsDlg::DoDataExchange(CDataExchange* dx)
{
    CTwoDPlotParamsDlg::DoDataExchange(dx);
    DDX_Text(dx, 1060, m_strZName);
    DDX_Text(dx, 1061, m_dZMin);
    DDX_Text(dx, 1062, m_dZMax);
}

bool AskThreeDPlotParameters(std::vector<PlotAxisParameters>& axes)
{
    if (axes.size() != 3)
        return false;
    CThreeDPlotParamsDlg dialog(CString(axes[0].name.c_str()), axes[0].minimum, axes[0].maximum,
                                CString(axes[1].name.c_str()), axes[1].minimum, axes[1].maximum,
                                CString(axes[2].name.c_str()), axes[2].minimum, axes[2].maximum);
    if (dialog.DoModal() != IDOK)
        return false;
    axes[0] = {std::string(dialog.m_strXName), dialog.m_dXMin, dialog.m_dXMax};
    axes[1] = {std::string(dialog.m_strYName), dialog.m_dYMin, dialog.m_dYMax};
    axes[2] = {std::string(dialog.m_strZName), dialog.m_dZMin, dialog.m_dZMax};
    return true;
}

bool AskPlotParametersOfAxes(std::vector<PlotAxisParameters>& axes)
{
    return axes.size() == 3 ? AskThreeDPlotParameters(axes) : AskTwoDPlotParameters(axes);
}
