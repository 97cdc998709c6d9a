#include "app/dialogs/CTwoDPlotParamsDlg.h"

#include "platform/framework/DataExchange.h"
#include "plot/PlotComp.h"

void CTwoDPlotParamsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1000, m_strXName);
    DDX_Text(dx, 1001, m_dXMin);
    DDX_Text(dx, 1056, m_dXMax);
    DDX_Text(dx, 1057, m_strYName);
    DDX_Text(dx, 1058, m_dYMin);
    DDX_Text(dx, 1059, m_dYMax);
}

bool AskTwoDPlotParameters(std::vector<PlotAxisParameters>& axes)
{
    if (axes.size() != 2)
        return false;
    CTwoDPlotParamsDlg dialog(CString(axes[0].name.c_str()), axes[0].minimum, axes[0].maximum,
                              CString(axes[1].name.c_str()), axes[1].minimum, axes[1].maximum);
    if (dialog.DoModal() != IDOK)
        return false;
    axes[0] = {std::string(dialog.m_strXName), dialog.m_dXMin, dialog.m_dXMax};
    axes[1] = {std::string(dialog.m_strYName), dialog.m_dYMin, dialog.m_dYMax};
    return true;
}
