#include "resources/ProgramResources.h"

#include "platform/framework/ResourceStore.h"
#include "resources/ResourceTexts.h"

bool RegisterProgramResources(QString* error)
{
    for (const char* text : {kFrameworkResources}) {
        if (!ResourceStore::instance().loadJson(QByteArray(text), error))
            return false;
    }
    return true;
}
