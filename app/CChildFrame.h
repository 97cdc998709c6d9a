#pragma once
// The window of one document inside the main frame, made by the document
// template with the framework's standard creation.
#include "platform/framework/CMDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
};
