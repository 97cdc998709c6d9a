#pragma once
// A placeholder ("Miss"): a crossed box two em boxes wide standing for
// something missing. Every placeholder equals every other.
#include "foundation/PlaceholderBox.h"

class PlaceholderComp : public PlaceholderBox {
public:
    PlaceholderComp() = default;

    TextComp* Clone(LinkRemap&) override { return new PlaceholderComp; }
};
