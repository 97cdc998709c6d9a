#pragma once
// The PNG stage of the export pictures: a device-independent bitmap as the
// picture surface hands it over, the checks and conversion that turn it into
// PNG rows, and the encoding through libpng. Every failure answers false with
// one of the fixed messages below, the value in its placeholder.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A bitmap as a device hands it out: the info header's fields, the colour
// masks or colour table that follow it, and the rows of pixels bottom to top,
// each padded to four bytes.
struct WebImageDib {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;  // 0 none, 1 and 2 run-length, 3 bit fields
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue (bit fields)
    std::vector<std::array<std::uint8_t, 4>> colours;  // blue, green, red, reserved
    std::vector<std::uint8_t> bits;
};

// An RGB colour, 8 bits a channel.
struct PngRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PngRgb&) const = default;
};

inline constexpr int kPngColourGrey = 0;
inline constexpr int kPngColourRgb = 2;
inline constexpr int kPngColourPalette = 3;

// What the bitmap stage hands to the encoder.
struct PngWriteParams {
    const WebImageDib* dib = nullptr;
    int colourType = kPngColourRgb;  // 3 for 1, 2, 4 and 8 bits a pixel, else 2
    bool interlaced = false;
    double gamma = -1.0;  // no gamma chunk unless above 0
    std::string textKeyword;
    std::string text;
    bool writeTime = false;  // a tIME chunk of the moment of writing
    std::optional<PngRgb> transparent;  // the colour shown as transparent
    int transparentCount = 0;           // 1 with a transparent colour, else 0
};

// Fills the write parameters for a bitmap, as the picture surface does.
PngWriteParams MakePngWriteParams(const WebImageDib& dib, bool interlaced, std::optional<PngRgb> transparent);

// The picture ready for libpng: rows top to bottom.
struct PngImage {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colourType = kPngColourRgb;
    std::vector<PngRgb> palette;
    std::size_t rowLength = 0;
    std::vector<std::uint8_t> pixels;  // when the rows are converted, else empty
    std::vector<const std::uint8_t*> rows;
    // For palette pictures with a transparent colour: the alpha of the
    // entries up to the transparent one (0 there, 255 before).
    std::vector<std::uint8_t> paletteAlpha;
};

// Checks the bitmap and converts it into PNG rows; false with the message.
bool ConvertDibForPng(const PngWriteParams& params, PngImage& image, std::string& message);

// Where the encoded bytes go. Write answers false when they could not be
// written; it must not throw.
class PngByteSink {
public:
    virtual ~PngByteSink() = default;
    virtual bool Write(const std::uint8_t* data, std::size_t length) noexcept = 0;
};

// Encodes the converted picture: IHDR (Adam7 when interlaced), PLTE for
// palette pictures, gAMA when the gamma is above 0, the one uncompressed text
// entry, tIME only when asked, tRNS for a transparent colour, the rows, IEND.
// On failure detail, when given, receives libpng's own words.
bool EncodePng(const PngImage& image, const PngWriteParams& params, PngByteSink& sink, std::string& message,
               std::string* detail = nullptr);
