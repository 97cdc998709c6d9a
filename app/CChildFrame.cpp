#include "app/CChildFrame.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)
