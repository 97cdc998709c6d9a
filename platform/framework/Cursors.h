#pragma once
// Mouse cursors: the standard shapes by their old names, and the program's
// own cursors by resource id (an image registered as "cursor:<id>", with its
// hot spot in the middle unless the image's text "hotspot" says "x,y").
#include <QCursor>

#include "platform/framework/AfxTypes.h"

using HCURSOR = QCursor;

inline const Qt::CursorShape IDC_ARROW = Qt::ArrowCursor;
inline const Qt::CursorShape IDC_IBEAM = Qt::IBeamCursor;
inline const Qt::CursorShape IDC_WAIT = Qt::WaitCursor;
inline const Qt::CursorShape IDC_CROSS = Qt::CrossCursor;
inline const Qt::CursorShape IDC_SIZEWE = Qt::SizeHorCursor;
inline const Qt::CursorShape IDC_SIZENS = Qt::SizeVerCursor;
inline const Qt::CursorShape IDC_SIZEALL = Qt::SizeAllCursor;
inline const Qt::CursorShape IDC_HAND = Qt::PointingHandCursor;

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
