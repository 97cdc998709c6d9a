#include "export/TechExplorerWriter.h"

#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/Str255.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/TextCodec.h"

#include <QList>
#include <QString>

#include <algorithm>

void TechExplorerWriter::WritePreamble(bool, int16_t)
{
    WriteString("\\documentstyle{article}\n\\begin{document}\n");
}

void TechExplorerWriter::WriteEndSectionLabel(EquationLabel* label)
{
    if (label)
        WriteString(("}\\label{" + LabelName(label)).c_str());
    WriteString("}\n");
}

void TechExplorerWriter::WriteEquationEnd(EquationLabel* label)
{
    WriteString("\\end{equation}");
    if (label)
        WriteString(("\\label{" + LabelName(label) + "}").c_str());
    NewLine();
}

void TechExplorerWriter::WriteListItemEnd(EquationLabel* label)
{
    if (label)
        WriteString(("\\label{" + LabelName(label) + "}").c_str());
    NewLine();
}

void TechExplorerWriter::WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture)
{
    const std::string name = NextPictureName() + ".png";
    WriteString(("\\includegraphics{" + name + "}").c_str());
    if (!picture || picture->IsNull())
        return;
    // The picture's size in pixels of the drawing context, so that it shows
    // whole at its size in points.
    const int resX = std::max(1, gDrawContext.GetResolutionX());
    const int resY = std::max(1, gDrawContext.GetResolutionY());
    SavePicturePng(picture, widthPoints * resX / 72, heightPoints * resY / 72, name);
}

void TechExplorerWriter::WriteReference(const Str255& labelName, const Str255& shownText)
{
    WriteString("\\labelLink{");
    WriteString(labelName.GetText());
    WriteString("}{");
    WriteString(shownText.GetText());
    WriteString("}");
}

std::string TechExplorerWriter::Escaped(const std::string& unicodeUtf8)
{
    std::string out;
    for (char32_t ch : QString::fromStdString(unicodeUtf8).toUcs4()) {
        switch (ch) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default:
            if (ch >= 128)
                out += "&#" + std::to_string(static_cast<uint32_t>(ch)) + ";";
            else if (ch >= 32 || ch == '\t')
                out += static_cast<char>(ch);
        }
    }
    return out;
}

void TechExplorerWriter::WriteDocLink(const Str255& url, const Str255& text)
{
    const std::string target = TextCodec::Decode(url.GetPtrAt(0), url.GetLength(), ANSI_CHARSET).toStdString();
    WriteString(("\\docLink{" + Escaped(target) + "}{").c_str());
    LaTeXFileWriter::WriteDocLink(url, text);
    WriteString("}");
}
