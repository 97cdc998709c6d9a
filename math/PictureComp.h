#pragma once
// A picture ("Meta"): an enhanced metafile shown in the running text like a
// large character standing on the baseline. Its size is kept in hundredths
// of a millimetre and converted to device units or points in one step.
#include "foundation/BoxComp.h"
#include "foundation/HTMLWriter.h"
#include "foundation/XMLWriter.h"
#include "platform/draw/EnhMetafile.h"

#include <cstdint>

class HtmlElementWriter;
class XhtmlElementWriter;

class PictureComp : public BoxComp, public HtmlForm, public XhtmlForm {
public:
    // The largest width or height a picture is shown at: half a metre, in
    // hundredths of a millimetre, larger than any page. A larger picture
    // (from a file or another program) is scaled down to fit, keeping its
    // shape, so that no size a file gives makes layout or printing costly.
    static constexpr int32_t kMaxSize = 50000;

    // No picture, size 0.
    PictureComp() = default;
    // Keeps a copy of the picture; the size comes from the copy's frame.
    explicit PictureComp(HENHMETAFILE picture);
    ~PictureComp() override;
    PictureComp(const PictureComp&) = delete;
    PictureComp& operator=(const PictureComp&) = delete;

    // The held picture, or a new copy (the caller's) when asked.
    HENHMETAFILE GetMetafile(bool copy) const;
    int32_t GetWidth100() const { return m_width; }
    int32_t GetHeight100() const { return m_height; }
    // Hundredths of a millimetre in points (72 to the inch), truncated toward zero.
    static int32_t ToPoints(int32_t hundredthsMm);
    // Hundredths of a millimetre in pixels at the resolution, truncated toward zero.
    static int32_t ToDevice(int32_t hundredthsMm, int resolution);
    // The rectangle the picture is drawn into at its origin, on the current device.
    Rect GetDrawRect() const;

    TextComp* Clone(LinkRemap&) override;
    void GetTag(TypeTag& out) const override { out = tag_Meta; }
    void Measure() override;
    void Draw() override;
    // Two pictures never compare equal.
    bool IsEqual(const TextComp&) const override { return false; }
    void WriteText(TextOutBuffer& out) const override;
    void WriteLaTeX(LaTeXWriter& writer) override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    void WriteHTML(HtmlElementWriter& writer);
    void WriteXHTML(XhtmlElementWriter& writer);
    void WriteHtml(HTMLWriter& writer) override;
    void WriteXhtml(XMLWriter& writer) override;

private:
    // Stores the size, negative extents as 0, scaled down to fit kMaxSize.
    void SetSize(int64_t width, int64_t height);

    HENHMETAFILE m_metafile = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
};
