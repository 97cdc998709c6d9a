#include "app/LinkPropertiesPrompt.h"

#include "app/dialogs/CLinkPropertiesDialog.h"
#include "math/HyperlinkComp.h"

void InstallLinkPropertiesPrompt()
{
    HyperlinkComp::SetPropertiesPrompt([](Str255& url, Str255& text) {
        CLinkPropertiesDialog dialog(url.ToCString(), text.ToCString());
        if (dialog.DoModal() != IDOK)
            return false;
        url.AssignCString(dialog.m_strURL);
        text.AssignCString(dialog.m_strText);
        return true;
    });
}
