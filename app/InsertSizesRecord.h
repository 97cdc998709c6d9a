#pragma once
// The last sizes chosen in the insert dialogs: rows and columns shared by the
// Create Matrix and Create Table dialogs, entries shared by the Create
// Equation Set and Create Split Definition dialogs.
#include <cstdint>

class DocReader;
class DocWriter;

class InsertSizesRecord {
public:
    static constexpr int16_t kSectionLength = 6;

    // columns, rows, entries (16-bit each).
    void Write(DocWriter& writer) const;
    void Read(DocReader& reader);

    int16_t rows = 2;
    int16_t columns = 2;
    int16_t entries = 2;
};
