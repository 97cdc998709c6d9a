#pragma once
// The resource texts compiled into the program, one per topic.

// The framework's own strings: standard command prompts and the status
// bar's indicators.
extern const char kFrameworkResources[];

// The program's menus (128, 129, 161) and accelerator tables.
extern const char* const kMenuResources;
extern const char kAcceleratorResources[];
// The string table: title, document type, action names, command prompts.
extern const char kStringResources[];
// The button lists of the toolbars and palettes (128, 138, 179).
extern const char kToolbarResources[];
// Dialog templates by topic.
extern const char kShellDialogResources[];
extern const char kPaletteDialogResources[];
extern const char kKernelDialogResources[];
extern const char kDrawingDialogResources[];
extern const char kPlotDialogResources[];
