#pragma once
// Mouse cursors: the standard shapes by their old names, and the program's
// own cursors by resource id (an image registered as "cursor:<id>", with its
// hot spot in the middle unless the image's text "hotspot" says "x,y").
#include <QCursor>

#include "platform/CursorShapes.h"
#include "platform/framework/AfxTypes.h"

using HCURSOR = QCursor;

HCURSOR LoadStandardCursor(Qt::CursorShape shape);
// The program's cursor of a resource id; the hand for 168 and the arrow for
// others when no image is registered.
HCURSOR LoadAppCursor(UINT id);
// Makes cursor the one of the window under the mouse (see OnSetCursor).
void SetCursor(const HCURSOR& cursor);

// A colour of the desktop's scheme by its old index (button face, window, ...).
enum : int { COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
             COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14 };
COLORREF GetSysColor(int index);
