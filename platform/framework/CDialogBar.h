#pragma once
// A control bar whose contents are the controls of a dialog template (custom
// controls included), sized to the template.
#include "platform/framework/CControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT barId);
};
