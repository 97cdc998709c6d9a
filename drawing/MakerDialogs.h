#pragma once
// What the Point and Plot makers ask of the user interface: the
// "Create Vertex" dialog and the kernel-side expression dialog. The
// application installs its dialogs at start-up; tests install scripted
// answers. With none installed the makers build nothing.
#include "foundation/DPoint.h"

#include <optional>
#include <string>

class CompList;

class MakerDialogs {
public:
    virtual ~MakerDialogs() = default;
    // The coordinates entered in the "Create Vertex" dialog opened at a
    // point, or nothing when it was cancelled.
    virtual std::optional<DPoint> AskVertex(const DPoint& at) = 0;
    // The function typed for the prompt, as a row the caller owns, or null
    // when the dialog was cancelled.
    virtual CompList* AskPlotFunction(const std::string& prompt) = 0;
};

// Not owned; null uninstalls.
void InstallMakerDialogs(MakerDialogs* dialogs);
MakerDialogs* GetMakerDialogs();

// Whether the kernel link is ready for requests (plots need it).
bool IsKernelActive();
