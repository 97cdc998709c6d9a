#include "export/CWebImageDC.h"

#include "platform/AtomicFileWriter.h"
#include "platform/CFile.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Why a picture could not be saved goes here; nothing is shown to the user.
Q_LOGGING_CATEGORY(lcWebImage, "quorvant.export.png", QtWarningMsg)

namespace {

constexpr int kMaxSide = 32767;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

QImage::Format formatOfDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 16: return QImage::Format_RGB555;
    case 24: return QImage::Format_RGB888;
    default: return QImage::Format_RGB32;
    }
}

int screenDpi()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    int dpi = screen ? int(std::lround(screen->logicalDotsPerInchY())) : 0;
    return dpi > 0 ? dpi : 96;
}

// The bytes of one pixel in the bitmap's order: blue, green, red (and a
// reserved 0 at 32 bits); 5-5-5 words at 16 bits, as the image keeps them.
void copyRow(const QImage& image, int y, int bits, std::uint8_t* out)
{
    const uchar* in = image.constScanLine(y);
    int width = image.width();
    if (bits == 16) {
        std::memcpy(out, in, std::size_t(width) * 2);
        return;
    }
    for (int x = 0; x < width; ++x) {
        if (bits == 24) {
            out[3 * x] = in[3 * x + 2], out[3 * x + 1] = in[3 * x + 1], out[3 * x + 2] = in[3 * x];
        } else {
            QRgb p = reinterpret_cast<const QRgb*>(in)[x];
            out[4 * x] = std::uint8_t(qBlue(p)), out[4 * x + 1] = std::uint8_t(qGreen(p));
            out[4 * x + 2] = std::uint8_t(qRed(p)), out[4 * x + 3] = 0;
        }
    }
}

// The encoded bytes go into a temporary file beside the target.
class FileSink : public PngByteSink {
public:
    explicit FileSink(AtomicFileWriter& file) : m_file(file) {}
    bool Write(const std::uint8_t* data, std::size_t length) noexcept override
    {
        try {
            while (length > 0) {
                auto block = std::uint32_t(std::min<std::size_t>(length, 1u << 30));
                m_file.Write(data, block);
                data += block;
                length -= block;
            }
            return true;
        } catch (const CException& e) {
            m_error = e.what();
        } catch (const std::exception& e) {
            m_error = e.what();
        }
        return false;
    }
    const std::string& Error() const { return m_error; }

private:
    AtomicFileWriter& m_file;
    std::string m_error;
};

// The encoded bytes are gathered and go into an open file in one piece, which
// is then closed.
class GatheringSink : public PngByteSink {
public:
    explicit GatheringSink(CFile& file) : m_file(file) {}
    bool Write(const std::uint8_t* data, std::size_t length) noexcept override
    {
        try {
            m_bytes.insert(m_bytes.end(), data, data + length);
            return true;
        } catch (const std::bad_alloc&) {
            m_error = std::strerror(ENOMEM);
            return false;
        }
    }
    bool Finish() noexcept
    {
        try {
            const std::uint8_t* data = m_bytes.data();
            std::size_t length = m_bytes.size();
            while (length > 0) {
                auto block = std::uint32_t(std::min<std::size_t>(length, 1u << 30));
                m_file.Write(data, block);
                data += block;
                length -= block;
            }
            m_file.Close();
            return true;
        } catch (const CFileException& e) {
            m_error = e.Reason();
        } catch (const std::exception& e) {
            m_error = e.what();
        }
        return false;
    }
    const std::string& Error() const { return m_error; }

private:
    CFile& m_file;
    std::vector<std::uint8_t> m_bytes;
    std::string m_error;
};

// An existing file that we may not write stays as it is.
bool mayWrite(const std::string& path)
{
    return ::access(path.c_str(), F_OK) != 0 || ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

CWebImageDC::CWebImageDC() : CImageDC(m_bits) {}

CWebImageDC::~CWebImageDC() = default;

int CWebImageDC::ScreenBitsPerPixel()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen && screen->depth() > 0 ? screen->depth() : 32;
}

bool CWebImageDC::Create(CSize size)
{
    return Create(size, ScreenBitsPerPixel());
}

bool CWebImageDC::Create(CSize size, int bitsPerPixel)
{
    if (size.cx <= 0 || size.cy <= 0 || size.cx > kMaxSide || size.cy > kMaxSide ||
        std::int64_t(size.cx) * size.cy > kMaxPixels)
        return false;
    QImage bits(size.cx, size.cy, formatOfDepth(bitsPerPixel));
    if (bits.isNull())
        return false;
    bits.fill(Qt::white);
    SetImageDpi(bits, screenDpi());
    endPainting();
    m_bits = std::move(bits);
    beginPainting(&m_bits);
    resetState();
    m_width = size.cx;
    m_height = size.cy;
    return true;
}

WebImageDib CWebImageDC::ReadDib() const
{
    WebImageDib dib;
    if (m_bits.isNull())
        return dib;
    dib.width = m_bits.width();
    dib.height = m_bits.height();
    dib.bitCount = std::uint16_t(m_bits.format() == QImage::Format_RGB555 ? 16 : m_bits.depth());
    std::size_t stride = ((std::size_t(dib.width) * dib.bitCount + 31) / 32) * 4;
    dib.sizeImage = std::uint32_t(stride * std::size_t(dib.height));
    dib.bits.assign(dib.sizeImage, 0);
    for (int row = 0; row < dib.height; ++row)
        copyRow(m_bits, dib.height - 1 - row, dib.bitCount, dib.bits.data() + std::size_t(row) * stride);
    return dib;
}

bool CWebImageDC::WritePNG(const PngWriteParams& params, PngByteSink& sink, std::string& message)
{
    PngImage image;
    if (!ConvertDibForPng(params, image, message))
        return false;
    std::string detail;
    if (EncodePng(image, params, sink, message, &detail))
        return true;
    if (!detail.empty())
        qCDebug(lcWebImage) << "libpng:" << detail.c_str();
    return false;
}

bool CWebImageDC::SaveAsPNG(const std::string& path, bool interlaced, bool transparent, COLORREF colour)
{
    m_lastMessage.clear();
    if (m_bits.isNull())
        return Fail("There is no picture to save.");
    if (!mayWrite(path))
        return Fail("Cannot open " + path + " for writing: " + std::strerror(errno));
    try {
        AtomicFileWriter file(path);
        WebImageDib dib = ReadDib();
        PngWriteParams params = ParamsFor(dib, interlaced, transparent, colour);
        FileSink sink(file);
        std::string message;
        if (!WritePNG(params, sink, message))
            return Fail(sink.Error().empty() ? message : message + " " + sink.Error());
        file.Commit();
        return true;
    } catch (const CException& e) {
        return Fail("Cannot write " + path + ": " + e.what());
    } catch (const std::bad_alloc&) {
        return Fail("Couldn't allocate enough memory");
    }
}

PngWriteParams CWebImageDC::ParamsFor(const WebImageDib& dib, bool interlaced, bool transparent, COLORREF colour) const
{
    std::optional<PngRgb> clear;
    if (transparent)
        clear = PngRgb{std::uint8_t(GetRValue(colour)), std::uint8_t(GetGValue(colour)), std::uint8_t(GetBValue(colour))};
    return MakePngWriteParams(dib, interlaced, clear);
}

bool CWebImageDC::WritePNGFile(const std::string& path, bool interlaced, bool transparent, COLORREF colour)
{
    m_lastMessage.clear();
    if (m_bits.isNull())
        return Fail("There is no picture to save.");
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return Fail("Cannot open " + path + " for writing: " + std::strerror(errno));
    CFile file;
    file.Attach(fd, path);
    // Only a plain file is written, and only a plain file is removed again.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0)
        return Fail("Cannot write " + path + ": it is not a plain file");
    GatheringSink sink(file);
    std::string message;
    bool written = false;
    try {
        WebImageDib dib = ReadDib();
        written = WritePNG(ParamsFor(dib, interlaced, transparent, colour), sink, message) && sink.Finish();
    } catch (const std::bad_alloc&) {
        message = "Couldn't allocate enough memory";
    }
    if (written)
        return true;
    file.Abort();
    ::unlink(path.c_str());
    if (message.empty() || sink.Error().empty())
        return Fail(message + sink.Error());
    return Fail(message + " " + sink.Error());
}

bool CWebImageDC::Fail(std::string message)
{
    m_lastMessage = std::move(message);
    qCDebug(lcWebImage) << m_lastMessage.c_str();
    return false;
}
