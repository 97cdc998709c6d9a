#include "GridTestSupport.h"

#include "foundation/MemoryStream.h"
#include "foundation/TextOutBuffer.h"
#include "math/GridAndObjectComponents.h"

#include <vector>

void RecordingLaTeX::WriteChar(TextComp& comp, bool)
{
    if (comp.Tag() == tag_Char)
        text += static_cast<char>(comp.GetChar());
    else
        comp.WriteLaTeX(*this);
}

void RecordingLaTeX::WritePicture(int width, int height, HENHMETAFILE picture)
{
    text += "[picture " + std::to_string(width) + "x" + std::to_string(height) + (picture ? "" : " none") + "]";
}

void RecordingLaTeX::WriteDocLink(const Str255& url, const Str255& label)
{
    auto string = [](const Str255& s) { return std::string(s.GetPtrAt(0), static_cast<size_t>(s.GetLength())); };
    text += "[link " + string(url) + "|" + string(label) + "]";
}

void RecordingElements::OpenElement(const char* name)
{
    names.push_back(name);
    text += std::string("<") + name;
}

void RecordingElements::AddAttribute(const char* name, const char* value)
{
    names.push_back(name);
    text += std::string(" ") + name + "=" + value;
}

void RecordingElements::WriteEndTag(const char* name)
{
    text += std::string("</") + name + ">";
}

void RecordingElements::WriteRowHtml(CompList& row)
{
    text += '[';
    text += GridTest::Text(row);
    text += ']';
}

void RecordingElements::WriteEquationImage(HENHMETAFILE picture, const Rect& rect)
{
    text += "[img " + std::to_string(rect.Width()) + "x" + std::to_string(rect.Height()) + (picture ? "" : " none") + "]";
}

GridTest::GridTest()
{
    RegisterGridAndObjectComponents();
    gDrawContext.BeginDrawOnDC(nullptr, &dc);
    gDrawContext.SetBaseSize(5);
}

GridTest::~GridTest()
{
    gDrawContext.EndDraw();
}

void GridTest::Fill(GridComp& grid, const std::vector<std::string>& texts)
{
    for (size_t i = 0; i < texts.size(); ++i) {
        CompList* cell = grid.GetChild(static_cast<int>(i) + 1);
        for (char c : texts[i])
            cell->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
    }
}

std::string GridTest::LaTeX(TextComp& comp)
{
    RecordingLaTeX writer;
    comp.WriteLaTeX(writer);
    return writer.text;
}

std::string GridTest::LinearText(const TextComp& comp)
{
    std::vector<char> buffer(8192);
    MemoryStream stream(buffer.data(), static_cast<int32_t>(buffer.size()));
    TextOutBuffer out(&stream);
    comp.WriteText(out);
    out.Flush();
    return std::string(buffer.data(), static_cast<size_t>(stream.GetPosition()));
}
