#pragma once
// The stand-in for a component record whose tag no component class claims
// (a file from a later version, or a kind whose subsystem is not present).
// In the document it is a visible placeholder ("Miss"), whatever its stored
// tag says (even "Char"); it keeps the stored tag and the record's body, so
// writing the document again stores the record as it was read.
#include "foundation/PlaceholderBox.h"

#include <cstdint>
#include <vector>

class UnknownRecordComp : public PlaceholderBox {
public:
    UnknownRecordComp(TypeTag storedTag, std::vector<uint8_t> body) : m_storedTag(storedTag), m_body(std::move(body)) {}

    TextComp* Clone(LinkRemap&) override { return new UnknownRecordComp(*this); }

    TypeTag StoredTag() const { return m_storedTag; }
    const std::vector<uint8_t>& Body() const { return m_body; }

private:
    TypeTag m_storedTag;
    std::vector<uint8_t> m_body;
};
