#include "foundation/HTMLWriter.h"

#include "foundation/TextComp.h"

bool HTMLWriter::WriteObject(TextComp& comp)
{
    auto* form = dynamic_cast<HtmlForm*>(&comp);
    if (form)
        form->WriteHtml(*this);
    return form != nullptr;
}
