#include "foundation/CharBlockComp.h"

#include "foundation/CharComp.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "platform/Exceptions.h"

namespace {

FontFace* FaceOf(int32_t fontId)
{
    return gFontManager ? gFontManager->GetFace(fontId) : nullptr;
}

} // namespace

void CharBlockComp::Start(const TextComp& character)
{
    m_fontId = character.GetFontId();
    m_face = FaceOf(m_fontId);
    m_text.Clear();
    AppendChar(character.GetChar());
}

bool CharBlockComp::CanAppend(const TextComp& comp) const
{
    if (IsNotChar(comp.Tag()) || comp.GetFontId() != m_fontId)
        return false;
    return m_text.GetLength() < Str255::kCapacity;
}

TextComp* CharBlockComp::GetCharAt(int i) const
{
    if (!m_face)
        throw CException("The fonts are not set up");
    return m_face->GetCharacter(m_text.GetByteAt(i));
}

void CharBlockComp::Write(DocWriter& writer)
{
    writer.WriteCharBlockBody(m_fontId, m_text);
}

void CharBlockComp::Read(DocReader& reader)
{
    reader.ReadCharBlockBody(m_fontId, m_text);
    m_face = FaceOf(m_fontId);
}
