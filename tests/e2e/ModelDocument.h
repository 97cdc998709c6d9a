#pragma once
// A document read or written in the test's own process as the editor reads
// and writes it: the preferences and fonts it lays out with, the text layout
// and the mathematics components in place (the drawing components too when
// asked), and a document that no view deletes.
#include "app/CCorvellDoc.h"
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"

class ModelDocument {
public:
    explicit ModelDocument(bool drawings = false);

    TextPrefs prefs;
    FontManager fonts{prefs};

private:
    // Puts the layout and the components in place before the document is made.
    struct Components {
        explicit Components(bool drawings);
    };
    Components m_components;

public:
    CCorvellDoc doc;
};
