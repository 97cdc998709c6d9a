#pragma once
// Small helpers the edit actions share.
#include "foundation/DocSelection.h"

class CompList;
class ParagraphComp;
class ParagraphList;
class TextComp;

namespace ActionSupport {

// Deletes a component that no list holds any more (shared characters stay).
void DestroyComponent(TextComp* comp);
// Deletes a fragment held by a selection, when there is one.
void DestroyFragment(DocSelection& fragment);
// Whether a fragment selection holds anything to insert.
bool HoldsContent(const DocSelection& fragment);
// Removes what the selection covers into a fragment the selection then
// holds, and sets where it stood. False (the selection emptied, nothing
// removed) when the selection cannot be removed (a whole drawing).
bool RemoveContent(DocSelection& selection, DocPosition& at);
// Takes a paragraph out of its list and out of its document's registry.
ParagraphComp* TakeParagraph(ParagraphList& list, int index);

} // namespace ActionSupport
