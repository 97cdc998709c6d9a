#pragma once
// Shape and constraint records of kinds this program does not know (or that
// follow such a record in the same drawing, whose shared indexes can no
// longer be followed): the record's tag and bytes are kept as they were
// read and written back unchanged. Such an item draws nothing, is never hit
// and is copied only with its whole drawing.
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

#include <cstdint>
#include <vector>

class KeptRecord {
public:
    void ReadRecord(DocReader& reader) { reader.ReadRawRecord(m_tag, m_body); }
    void WriteRecord(DocWriter& writer) const { writer.WriteRawRecord(m_tag, m_body); }
    TypeTag StoredTag() const { return m_tag; }
    const std::vector<uint8_t>& Body() const { return m_body; }

private:
    TypeTag m_tag;
    std::vector<uint8_t> m_body;
};

class KeptShape : public DiagramShape, public KeptRecord {
public:
    TypeTag GetTag() const override { return StoredTag(); }
    bool IsKeptRecord() const override { return true; }
    DiagramShape* Clone(ItemCopyMap& map) override { return new KeptShape(*this); }
    ShapeStyle GetStyle() const override { return {}; }
    void SetStyle(const ShapeStyle&) override {}
    bool IsSelected() const override { return false; }
    void Select() override {}
};

class KeptConstraint : public DrawConstraint, public KeptRecord {
public:
    TypeTag GetTag() const override { return StoredTag(); }
    bool IsKeptRecord() const override { return true; }
    // Its bytes name the items it binds by their place in the file, which a
    // partial copy does not keep.
    DrawConstraint* Copy(ItemCopyMap&) override { return nullptr; }
    DrawConstraint* Duplicate() const { return new KeptConstraint(*this); }
    void Select() override {}
};
