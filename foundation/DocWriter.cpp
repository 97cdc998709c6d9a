#include "foundation/DocWriter.h"

#include <algorithm>

#include "foundation/ArchiveCharMaps.h"
#include "foundation/ArchiveItem.h"
#include "foundation/ByteStream.h"
#include "foundation/ComponentRegistry.h"
#include "foundation/FontIds.h"
#include "foundation/TextComp.h"
#include "foundation/UnknownRecordComp.h"
#include "platform/Exceptions.h"

#include <bit>
#include <string>

namespace {

std::string TagText(TypeTag tag)
{
    char text[5];
    tag.ToChars(text);
    return text;
}

} // namespace

DocWriter::DocWriter(ByteStream* stream) : m_stream(stream) {}

void DocWriter::WriteByte(uint8_t value)
{
    m_stream->Write(&value, 1);
}

void DocWriter::WriteShort(int16_t value)
{
    auto v = static_cast<uint16_t>(value);
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    m_stream->Write(b, 2);
}

void DocWriter::WriteLong(int32_t value)
{
    auto v = static_cast<uint32_t>(value);
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    m_stream->Write(b, 4);
}

void DocWriter::WriteDouble(double value)
{
    auto v = std::bit_cast<uint64_t>(value);
    uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(v >> (8 * i));
    m_stream->Write(b, 8);
}

void DocWriter::WriteColor(COLORREF color)
{
    uint8_t b[3] = {uint8_t(GetRValue(color)), uint8_t(GetGValue(color)), uint8_t(GetBValue(color))};
    m_stream->Write(b, 3);
}

void DocWriter::WriteBytes(const void* buf, int32_t n)
{
    m_stream->Write(buf, n);
}

void DocWriter::WritePString(const Str255& text, bool symbolFont)
{
    uint8_t bytes[256];
    int n = text.GetLength();
    bytes[0] = static_cast<uint8_t>(n);
    for (int i = 0; i < n; ++i)
        bytes[i + 1] = EncodeArchiveChar(text.GetByteAt(i), symbolFont);
    m_stream->Write(bytes, n + 1);
}

void DocWriter::Flush()
{
    m_stream->Flush();
}

void DocWriter::BeginList()
{
    if (m_depth + 1 >= kMaxListDepth)
        throw CFormatException("The document is nested too deeply to be stored");
    ++m_depth;
    m_listStart[m_depth] = m_stream->GetPosition();
    m_listCount[m_depth] = 0;
    WriteLong(0);
}

void DocWriter::WriteListComponent(TextComp* comp)
{
    bool isChar = comp->Tag() == tag_Char;
    // Code 0 is no character: stored, it would end the block's string when
    // read and drop every character after it.
    if (isChar && comp->GetChar() == 0)
        return;
    if (m_runPending && isChar && comp->GetFontId() == m_runFontId && m_runText.GetLength() < Str255::kCapacity) {
        m_runText.AppendChar(static_cast<char>(comp->GetChar()));
        return;
    }
    if (isChar) {
        WritePendingRun();
        m_runFontId = comp->GetFontId();
        m_runText.Clear();
        m_runText.AppendChar(static_cast<char>(comp->GetChar()));
        m_runPending = true;
        return;
    }
    WritePendingRun();
    WriteComponentRecord(comp);
}

void DocWriter::WritePendingRun()
{
    if (!m_runPending)
        return;
    m_runPending = false;
    WriteFramed(static_cast<int32_t>(tag_chBk.Value()), [&] { WriteCharBlockBody(m_runFontId, m_runText); });
    if (m_depth >= 0)
        ++m_listCount[m_depth];
}

void DocWriter::EndList()
{
    if (m_depth < 0)
        return;
    WritePendingRun();
    int32_t end = m_stream->GetPosition();
    m_stream->Seek(m_listStart[m_depth]);
    WriteLong(m_listCount[m_depth]);
    m_stream->Seek(end);
    --m_depth;
}

int32_t DocWriter::BeginFrame(int32_t tagOrKind)
{
    WriteLong(tagOrKind);
    int32_t lengthPos = m_stream->GetPosition();
    WriteLong(0);
    return lengthPos;
}

void DocWriter::EndFrame(int32_t lengthPos)
{
    int32_t end = m_stream->GetPosition();
    m_stream->Seek(lengthPos);
    WriteLong(end - lengthPos);
    m_stream->Seek(end);
}

void DocWriter::WriteComponentRecord(TextComp* comp)
{
    if (auto* unknown = dynamic_cast<UnknownRecordComp*>(comp)) {
        WriteRawRecord(unknown->StoredTag(), unknown->Body());
    } else {
        TypeTag tag = comp->Tag();
        const ComponentCodec* codec = ComponentRegistry::Find(tag);
        if (!codec || !codec->write)
            throw CException("No writer is registered for components of kind \"" + TagText(tag) + "\"");
        WriteFramed(static_cast<int32_t>(tag.Value()), [&] { codec->write(*comp, *this); });
    }
    if (m_depth >= 0)
        ++m_listCount[m_depth];
}

void DocWriter::WriteCharBlockBody(int32_t fontId, const Str255& text)
{
    WriteShort(static_cast<int16_t>(fontId));
    WritePString(text, fontId == FontId::kMath);
}

void DocWriter::WriteConstraint(ArchiveItem& constraint)
{
    WriteFramed(static_cast<int32_t>(constraint.GetTag().Value()), [&] { constraint.Write(*this); });
}

void DocWriter::WriteShape(ArchiveItem& shape)
{
    WriteFramed(static_cast<int32_t>(shape.GetTag().Value()), [&] { WriteSharedObject(&shape); });
}

void DocWriter::WritePlotItem(ArchiveItem& item)
{
    WriteFramed(item.GetKind(), [&] { item.Write(*this); });
}

void DocWriter::WriteRawRecord(TypeTag tag, const std::vector<uint8_t>& body)
{
    WriteFramed(static_cast<int32_t>(tag.Value()),
                [&] { WriteBytes(body.data(), static_cast<int32_t>(body.size())); });
}

void DocWriter::InitTables()
{
    m_tables.emplace_back();
}

void DocWriter::FreeTables()
{
    if (!m_tables.empty())
        m_tables.pop_back();
}

DocWriter::Tables& DocWriter::CurrentTables()
{
    if (m_tables.empty())
        throw CException("Shared objects written outside a drawing");
    return m_tables.back();
}

void DocWriter::WriteShared(SharedTable& table, ArchiveItem* object)
{
    auto found = table.index.find(object);
    if (found != table.index.end()) {
        WriteShort(static_cast<int16_t>(found->second));
        return;
    }
    auto index = static_cast<int32_t>(table.items.size());
    if (index >= kMaxSharedObjects)
        throw CFormatException("The drawing holds too many shared objects to be stored");
    table.items.push_back(object);
    table.index.emplace(object, index);
    WriteShort(static_cast<int16_t>(static_cast<uint16_t>(index)));
    object->Write(*this);
}

void DocWriter::WriteVariableRef(ArchiveItem* variable)
{
    WriteShared(CurrentTables().variables, variable);
}

void DocWriter::WriteSharedObject(ArchiveItem* object)
{
    WriteShared(CurrentTables().objects, object);
}

void DocWriter::ReserveSharedSlots(int variables, int objects)
{
    Tables& tables = CurrentTables();
    tables.variables.items.insert(tables.variables.items.end(), static_cast<size_t>(std::max(0, variables)), nullptr);
    tables.objects.items.insert(tables.objects.items.end(), static_cast<size_t>(std::max(0, objects)), nullptr);
}

void DocWriter::ReserveObjectSlot(uint16_t index)
{
    std::vector<ArchiveItem*>& items = CurrentTables().objects.items;
    if (index >= items.size())
        items.resize(size_t{index} + 1, nullptr);
}

int32_t DocWriter::LinkIdFor(const void* target)
{
    if (!target)
        return 0;
    auto [it, added] = m_linkIds.emplace(target, static_cast<int32_t>(m_linkIds.size() + 1));
    return it->second;
}
