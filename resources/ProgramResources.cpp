#include "resources/ProgramResources.h"

#include "platform/framework/ResourceStore.h"
#include "resources/ProgramImages.h"
#include "resources/ResourceTexts.h"

bool RegisterProgramResources(QString* error)
{
    ResourceStore& store = ResourceStore::instance();
    for (const char* text : {kFrameworkResources, kMenuResources, kAcceleratorResources, kStringResources,
                             kToolbarResources, kShellDialogResources, kPaletteDialogResources,
                             kKernelDialogResources, kDrawingDialogResources, kPlotDialogResources}) {
        if (!store.loadJson(QByteArray(text), error))
            return false;
    }
    if (!store.loadJson(SymbolPaletteStrings(), error))
        return false;
    RegisterProgramImages();
    return true;
}
