#include "math/PictureComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/TextOutBuffer.h"
#include "math/ExportElementWriters.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {

constexpr int64_t kHundredthsMmPerInch = 2540;
constexpr int64_t kPointsPerInch = 72;

} // namespace

PictureComp::PictureComp(HENHMETAFILE picture) : m_metafile(picture ? CopyEnhMetaFile(picture) : nullptr)
{
    if (!m_metafile)
        return;
    CRect frame = m_metafile->GetFrame();
    SetSize(int64_t(frame.right) - frame.left, int64_t(frame.bottom) - frame.top);
}

void PictureComp::SetSize(int64_t width, int64_t height)
{
    width = std::max<int64_t>(width, 0);
    height = std::max<int64_t>(height, 0);
    // A size within the limit is kept exactly; a larger one keeps its shape.
    const int64_t scale = std::max({width, height, int64_t(kMaxSize)});
    m_width = static_cast<int32_t>(width * kMaxSize / scale);
    m_height = static_cast<int32_t>(height * kMaxSize / scale);
}

PictureComp::~PictureComp()
{
    if (m_metafile)
        DeleteEnhMetaFile(m_metafile);
}

HENHMETAFILE PictureComp::GetMetafile(bool copy) const
{
    return copy && m_metafile ? CopyEnhMetaFile(m_metafile) : m_metafile;
}

int32_t PictureComp::ToPoints(int32_t hundredthsMm)
{
    return static_cast<int32_t>(hundredthsMm * kPointsPerInch / kHundredthsMmPerInch);
}

int32_t PictureComp::ToDevice(int32_t hundredthsMm, int resolution)
{
    return static_cast<int32_t>(hundredthsMm * static_cast<int64_t>(resolution) / kHundredthsMmPerInch);
}

Rect PictureComp::GetDrawRect() const
{
    int width = ToDevice(std::max(m_width, 0), gDrawContext.GetResolutionX());
    int height = ToDevice(std::max(m_height, 0), gDrawContext.GetResolutionY());
    return Rect(m_origin.x, m_origin.y - height, m_origin.x + width, m_origin.y);
}

TextComp* PictureComp::Clone(LinkRemap&)
{
    auto* copy = new PictureComp(m_metafile);
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->m_sizeStep = m_sizeStep;
    return copy;
}

void PictureComp::Measure()
{
    Rect drawn = GetDrawRect();
    drawn.OffsetNeg(m_origin);
    m_bounds = drawn;
    m_needsLayout = 0;
}

void PictureComp::Draw()
{
    gDrawContext.PlayMetafile(m_metafile, GetDrawRect());
}

void PictureComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("picture");
}

void PictureComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\fbox{$");
    if (auto* objects = dynamic_cast<LaTeXObjectWriter*>(&writer))
        objects->WritePicture(ToPoints(m_width), ToPoints(m_height), m_metafile);
    writer.WriteString("$} ");
}

void PictureComp::Write(DocWriter& writer)
{
    writer.WriteLong(m_width);
    writer.WriteLong(m_height);
    int32_t count = m_metafile ? static_cast<int32_t>(m_metafile->Bytes().size()) : 0;
    writer.WriteLong(count);
    if (count > 0)
        writer.WriteBytes(m_metafile->Bytes().constData(), count);
}

void PictureComp::Read(DocReader& reader)
{
    int32_t width = reader.ReadLong();
    int32_t height = reader.ReadLong();
    int32_t count = reader.ReadLong();
    if (count < 0 || count > reader.BytesLeft())
        throw CFormatException("Damaged picture: bad byte count");
    QByteArray bytes(count, '\0');
    if (count > 0)
        reader.ReadBytes(bytes.data(), count);
    if (m_metafile)
        DeleteEnhMetaFile(m_metafile);
    m_metafile = count > 0 ? new EnhMetafile(std::move(bytes)) : nullptr;
    SetSize(width, height);
    m_needsLayout = 1;
}

// A bordered table centred on the page; it stands on its own, as a paragraph
// cannot hold a table.
void PictureComp::WriteHTML(HtmlElementWriter& writer)
{
    writer.OpenElement("TABLE");
    writer.AddAttribute("ALIGN", "CENTER");
    writer.AddAttribute("BORDER", "2");
    writer.CloseStartTag();
    writer.OpenElement("TR");
    writer.CloseStartTag();
    writer.OpenElement("TD");
    writer.CloseStartTag();
    writer.WriteEquationImage(m_metafile, GetDrawRect());
    writer.WriteEndTag("TD");
    writer.WriteEndTag("TR");
    writer.WriteEndTag("TABLE");
}

// A centred table of one cell holding the picture; a table stands on its
// own, outside any paragraph.
void PictureComp::WriteXHTML(XhtmlElementWriter& writer)
{
    writer.StartElement("table", true);
    writer.WriteAttribute("class", "picture");
    writer.WriteAttribute("border", "2");
    writer.EndPendingTag(true);
    writer.StartElement("tr", true);
    writer.EndPendingTag(true);
    writer.StartElement("td", true);
    writer.EndPendingTag(true);
    writer.WriteEquationImage(m_metafile, GetDrawRect());
    writer.EndElement("td", true);
    writer.EndElement("tr", true);
    writer.EndElement("table", true);
}

void PictureComp::WriteHtml(HTMLWriter& writer)
{
    if (auto* elements = dynamic_cast<HtmlElementWriter*>(&writer))
        WriteHTML(*elements);
}

void PictureComp::WriteXhtml(XMLWriter& writer)
{
    if (auto* elements = dynamic_cast<XhtmlElementWriter*>(&writer))
        WriteXHTML(*elements);
}
