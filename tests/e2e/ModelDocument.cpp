#include "ModelDocument.h"

#include "drawing/DrawingComponents.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/MathComponents.h"

ModelDocument::Components::Components(bool drawings)
{
    InstallTextLayout();
    RegisterMathComponents();
    if (drawings)
        RegisterDrawingComponents();
}

ModelDocument::ModelDocument(bool drawings) : m_components(drawings)
{
    doc.m_bAutoDelete = FALSE;
}
