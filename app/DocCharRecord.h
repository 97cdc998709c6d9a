#pragma once
// The overscript kind last chosen in the Create Overscript dialog: the
// character code of the hat (193), tilde (208), dot (198), double dot (229),
// vector (230), or a blank for the bar.
#include <cstdint>

class DocReader;
class DocWriter;

class DocCharRecord {
public:
    static constexpr int16_t kSectionLength = 1;
    static constexpr uint8_t kBar = ' ';

    // One byte, stored as the archive stores a character of the math face.
    void Write(DocWriter& writer) const;
    void Read(DocReader& reader);

    uint8_t code = kBar;
};
