#include "app/StartupServices.h"

#include "app/AppMakerDialogs.h"
#include "app/CBaseView.h"
#include "app/PileWindow.h"
#include "app/dialogs/CVariableValueDialog.h"
#include "drawing/DrawingMakers.h"
#include "drawing/VariableValueQuestion.h"
#include "export/XhtmlExport.h"
#include "kernel/KernelServices.h"
#include "platform/framework/CWinApp.h"

void FillKernelNameTable()
{
    InstallKernelServices();
}

void RegisterDrawingMakers()
{
    gPilePane = gPileWindow;
    FillDrawingMakers();
    static AppMakerDialogs makerDialogs;
    InstallMakerDialogs(&makerDialogs);
    // A drawing asks for a missing value in the "Enter variable value" dialog.
    SetVariableValueQuestion([](const std::string& name, double& value) {
        CVariableValueDialog dialog(CString(name.c_str()), value, AfxGetMainWnd());
        if (dialog.DoModal() != IDOK)
            return false;
        value = dialog.m_dValue;
        return true;
    });
}

void FreeDrawingMakers()
{
    ClearDrawingMakers();
    InstallMakerDialogs(nullptr);
    SetVariableValueQuestion(nullptr);
}

void InstallClipboardWriters()
{
    InstallCopyWriters();
    CBaseView::SetCopyWritersAvailable(true, true);
}
