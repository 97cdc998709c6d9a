#pragma once
// Shape and constraint records of kinds this program does not know (or that
// follow such a record and refer into it): the record's tag and bytes are
// kept as they were read and written back unchanged. Such an item draws
// nothing, is never hit and is copied only with its whole drawing.
//
// Its body may bring shared objects with it that are not read: the records
// read after it then take indexes past them. The record keeps how many
// slots it stands for, and writing it reserves them again, so that the
// indexes written after it are those its bytes were read with.
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class KeptRecord {
public:
    void ReadRecord(DocReader& reader) { reader.ReadRawRecord(m_tag, m_body); }
    void WriteRecord(DocWriter& writer) const
    {
        writer.WriteRawRecord(m_tag, m_body);
        writer.ReserveSharedSlots(m_variableSlots, m_objectSlots);
    }
    TypeTag StoredTag() const { return m_tag; }
    const std::vector<uint8_t>& Body() const { return m_body; }
    // Empty slots that records read after this one found in the tables.
    void AddSlots(std::pair<int, int> variablesAndObjects)
    {
        m_variableSlots += variablesAndObjects.first;
        m_objectSlots += variablesAndObjects.second;
    }

private:
    TypeTag m_tag;
    std::vector<uint8_t> m_body;
    int m_variableSlots = 0;
    int m_objectSlots = 0;
};

class KeptShape : public DiagramShape, public KeptRecord {
public:
    // A shape record names its slot in the object table first.
    void ReadShapeRecord(DocReader& reader)
    {
        ReadRecord(reader);
        if (const auto index = OwnIndex())
            reader.ReserveObjectSlot(*index);
    }
    void WriteShapeRecord(DocWriter& writer) const
    {
        if (const auto index = OwnIndex())
            writer.ReserveObjectSlot(*index);
        WriteRecord(writer);
    }
    TypeTag GetTag() const override { return StoredTag(); }
    bool IsKeptRecord() const override { return true; }
    DiagramShape* Clone(ItemCopyMap& map) override { return new KeptShape(*this); }
    ShapeStyle GetStyle() const override { return {}; }
    void SetStyle(const ShapeStyle&) override {}
    bool IsSelected() const override { return false; }
    void Select() override {}

private:
    std::optional<uint16_t> OwnIndex() const
    {
        if (Body().size() < 2)
            return std::nullopt;
        return static_cast<uint16_t>(Body()[0] | (Body()[1] << 8));
    }
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
