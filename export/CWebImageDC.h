#pragma once
// The drawing surface of export pictures: a device context over an image of
// the screen's format, into which a writer plays a formula's or plot's
// picture and which it then saves as a PNG file.
#include "export/PngEncoder.h"

#include "platform/draw/ImageDC.h"

#include <string>

// The image lives in a base constructed before the device context that draws on it.
class WebImageBits {
protected:
    QImage m_bits;
};

class CWebImageDC : private WebImageBits, public CImageDC {
public:
    // An empty surface: nothing to draw on or save until Create.
    CWebImageDC();
    ~CWebImageDC() override;

    // A white picture of size pixels at the screen's depth and resolution;
    // false when the size is empty or too large or the memory is not there.
    bool Create(CSize size);
    // The same at a depth of 16 (5-5-5), 24 or 32 bits a pixel.
    bool Create(CSize size, int bitsPerPixel);

    // Writes the picture as a PNG file: Adam7 interlaced when asked; with
    // transparent, the colour's pixels (red, green and blue from its low,
    // middle and high byte) are marked transparent. The file is replaced only
    // when the whole picture is written: on any failure the answer is false,
    // any old file at path is left as it was, and LastMessage says why.
    bool SaveAsPNG(const std::string& path, bool interlaced, bool transparent, COLORREF colour);
    // The same into a new file at path, without waiting for the disk: for a
    // caller that writes many pictures under temporary names and places them
    // together. The file is created new: anything already at path (a file, a
    // symbolic link) makes it fail untouched. On failure the file is removed.
    bool WritePNGFile(const std::string& path, bool interlaced, bool transparent, COLORREF colour);

    // The picture as a device-independent bitmap of its depth, rows bottom to top.
    WebImageDib ReadDib() const;
    // Checks and converts the bitmap the parameters name and encodes it into sink.
    static bool WritePNG(const PngWriteParams& params, PngByteSink& sink, std::string& message);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool HasBitmap() const { return !m_bits.isNull(); }
    const QImage& Image() const { return m_bits; }
    // Why the last save failed (empty after a success).
    const std::string& LastMessage() const { return m_lastMessage; }

    // The depth of the screen's pixels (32 when there is no screen).
    static int ScreenBitsPerPixel();

private:
    bool Fail(std::string message);
    PngWriteParams ParamsFor(const WebImageDib& dib, bool interlaced, bool transparent, COLORREF colour) const;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::string m_lastMessage;
};
