#pragma once
// The program's pictures, drawn at run time: the button strips of the
// toolbars, the cursors, the 3-D axes of the plot dialog and the About icon.
// They need a running QGuiApplication.
#include <QByteArray>
#include <QImage>
#include <vector>

#include "platform/framework/AfxTypes.h"

// Registers every picture with the resource store under the names the
// resource texts use ("toolbar128", "cursor:187", "bitmap:149", ...).
void RegisterProgramImages();

// The button strip of toolbar 128, 138 or 179 (null for another id).
QImage ToolbarImage(UINT toolbarId);
// A drawn cursor by resource id with its hot spot in the image text
// "hotspot"; null for an id the program does not draw.
QImage CursorImage(UINT cursorId);
// The ids of the drawn cursors.
const std::vector<UINT>& DrawnCursorIds();

// The status prompts and tool tips of the Symbols palette's buttons, as a
// resource text; each names the character its button types.
QByteArray SymbolPaletteStrings();
