#pragma once
// The display settings a document keeps in its file header: the child
// frame's normal rectangle, the display size, page numbering and the larger
// equations flag.
#include <cstdint>

class DocReader;
class DocWriter;

class DisplayRecord {
public:
    static constexpr int16_t kSectionLength = 23;
    // Indexes into the view's ten display sizes.
    static constexpr int kDisplaySizeCount = 10;
    static constexpr uint8_t kDefaultDisplaySize = 5;

    // Display size index (16-bit), flag, larger equations, first page number
    // (16-bit), the rectangle (four 32-bit ints), number printed pages.
    void Write(DocWriter& writer) const;
    // A display size outside the view's ten sizes keeps the default.
    void Read(DocReader& reader);

    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 600;
    int32_t bottom = 480;
    uint8_t displaySize = kDefaultDisplaySize;
    // Stored and read back; nothing else uses it.
    uint8_t flag = 0;
    int16_t firstPageNumber = 1;
    bool numberPrintedPages = true;
    bool largerEquations = false;
};
