#include "export/TechExplorerWriter.h"

#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/Str255.h"
#include "math/LinkAddress.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/TextCodec.h"

#include <QList>
#include <QString>

#include <algorithm>

void TechExplorerWriter::WritePreamble(bool, int16_t)
{
    WriteString("\\documentstyle{article}\n\\begin{document}\n");
}

void TechExplorerWriter::WriteLabel(EquationLabel* label)
{
    if (!label)
        return;
    WriteString("\\label{");
    PutArgument(LabelName(label));
    WriteString("}");
}

void TechExplorerWriter::WriteEndSectionLabel(EquationLabel* label)
{
    WriteString("}");
    WriteLabel(label);
    NewLine();
}

void TechExplorerWriter::WriteEquationEnd(EquationLabel* label)
{
    WriteString("\\end{equation}");
    WriteLabel(label);
    NewLine();
}

void TechExplorerWriter::WriteListItemEnd(EquationLabel* label)
{
    WriteLabel(label);
    NewLine();
}

void TechExplorerWriter::WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture)
{
    if (!picture || picture->IsNull())
        return;
    // The picture's size in pixels of the drawing context, so that it shows
    // whole at its size in points.
    const int resX = std::max(1, gDrawContext.GetResolutionX());
    const int resY = std::max(1, gDrawContext.GetResolutionY());
    const std::string name = Pictures().NextName(".png");
    if (SavePicturePng(picture, widthPoints * resX / 72, heightPoints * resY / 72, name))
        WriteString(("\\includegraphics{" + name + "}").c_str());
    else
        WriteString("\\mbox{(picture left out)}");
}

void TechExplorerWriter::WriteReference(const Str255& labelName, const Str255& shownText)
{
    WriteString("\\labelLink{");
    PutArgument(std::string_view(labelName.GetPtrAt(0), labelName.GetLength()));
    WriteString("}{");
    WriteText(std::string_view(shownText.GetPtrAt(0), shownText.GetLength()), LaTeXPlace::kText);
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
    // The target as the link was judged, which keeps no control character.
    const std::string target =
        LinkAddress::Written(TextCodec::Decode(url.GetPtrAt(0), url.GetLength(), ANSI_CHARSET)).toStdString();
    // The address keeps its character references, and the characters TeX
    // acts on ("%" of an escaped blank among them) are escaped around them.
    WriteString("\\docLink{");
    PutArgument(Escaped(target));
    WriteString("}{");
    WriteLinkText(text);
    WriteString("}");
}
