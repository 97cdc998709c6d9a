#include "math/HyperlinkComp.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFamilyScope.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/FontManager.h"
#include "foundation/TextOutBuffer.h"
#include "math/ExportElementWriters.h"
#include "math/LinkAddress.h"
#include "platform/draw/TextCodec.h"

namespace {

// The drawing context's text style for links.
constexpr int kLinkStyle = 2;

HyperlinkComp::PropertiesPrompt& Prompt()
{
    static HyperlinkComp::PropertiesPrompt prompt;
    return prompt;
}

} // namespace

void HyperlinkComp::SetPropertiesPrompt(PropertiesPrompt prompt)
{
    Prompt() = std::move(prompt);
}

void HyperlinkComp::Measure()
{
    // Measured in the face it is drawn in, so the link never runs into what follows.
    SizeStepScope scope(m_sizeStep);
    FontFamilyScope family(kLinkStyle);
    gDrawContext.GetTextExtent(m_text, m_bounds);
    m_needsLayout = 0;
}

void HyperlinkComp::Draw()
{
    SizeStepScope scope(m_sizeStep);
    FontFamilyScope family(kLinkStyle);
    gDrawContext.MoveTo(m_origin);
    gDrawContext.DrawString(m_text);
}

void HyperlinkComp::PositionFromPoint(DocPosition& out, const IntPoint&, bool)
{
    out = m_owner ? DocPosition(m_owner, m_owner->Find(this)) : DocPosition();
}

bool HyperlinkComp::IsEqual(const TextComp& other) const
{
    if (other.Tag() != tag_Link)
        return false;
    const auto& link = static_cast<const HyperlinkComp&>(other);
    return link.m_text == m_text && link.m_url == m_url;
}

QString HyperlinkComp::Target() const
{
    return TextCodec::Decode(m_url.GetPtrAt(0), m_url.GetLength(), ANSI_CHARSET);
}

bool HyperlinkComp::IsFollowed() const
{
    return LinkAddress::Classify(Target(), m_external) != LinkAddress::Kind::kRefused;
}

std::optional<std::string> HyperlinkComp::WebAddress() const
{
    const std::optional<QString> address = LinkAddress::WebAddress(Target(), m_external);
    if (!address)
        return std::nullopt;
    return address->toStdString();
}

void HyperlinkComp::WriteText(TextOutBuffer& out) const
{
    for (int i = 0; i < m_text.GetLength(); ++i)
        out.WriteCode(static_cast<unsigned char>(m_text.GetAt(i)), FontManager::kTextFace);
}

void HyperlinkComp::WriteLaTeX(LaTeXWriter& writer)
{
    auto* objects = dynamic_cast<LaTeXObjectWriter*>(&writer);
    if (objects && IsFollowed()) {
        objects->WriteDocLink(m_url, m_text);
        return;
    }
    writer.WriteText(std::string_view(m_text.GetPtrAt(0), m_text.GetLength()), LaTeXPlace::kText);
}

void HyperlinkComp::Write(DocWriter& writer)
{
    writer.WritePString(m_url, false);
    writer.WritePString(m_text, false);
    writer.WriteBool(m_external);
}

void HyperlinkComp::Read(DocReader& reader)
{
    reader.ReadPString(m_url, false);
    reader.ReadPString(m_text, false);
    m_external = reader.ReadBool();
    m_needsLayout = 1;
}

bool HyperlinkComp::Edit(const DocSelection* selection)
{
    Str255 saved = m_text;
    if (selection && selection->IsAllCharacters())
        selection->GetText(m_text);
    Str255 url = m_url;
    Str255 text = m_text;
    if (!Prompt() || !Prompt()(url, text)) {
        m_text = saved;
        return false;
    }
    m_url = url;
    m_text = text;
    Invalidate();
    return true;
}
