#include "kernel/TermRef.h"

#include "foundation/TextComp.h"
#include "kernel/MathParser.h"

TermRef TermRef::Build(TextComp& comp)
{
    gSyntaxError = false;
    TermRef term(comp.BuildNode());
    if (gSyntaxError)
        term.Free();
    gSyntaxError = false;
    return term;
}
