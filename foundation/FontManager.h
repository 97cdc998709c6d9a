#pragma once
// The eight font faces of the program and their shared characters:
//   0 text font of the preferences       4 code font of the preferences
//   1 italic font of the preferences     5 "Corvell Roman" (character styles 0 and 4)
//   2 bold font of the preferences (bold) 6 "Corvell Roman" bold (character style 2)
//   3 "Corvell Math" (symbol codes)      7 "Corvell Roman" (any other character style)
#include "foundation/FontIds.h"

#include <array>
#include <memory>

class FontFace;
class TextPrefs;

class FontManager {
public:
    static constexpr int kFaceCount = FontId::kCount;
    static constexpr int kTextFace = FontId::kText;
    static constexpr int kItalicFace = FontId::kItalic;
    static constexpr int kBoldFace = FontId::kBold;
    static constexpr int kMathFace = FontId::kMath;
    static constexpr int kCodeFace = FontId::kCode;

    // Makes the faces and points gFontManager, gTextFace and gMathFace at them.
    explicit FontManager(const TextPrefs& prefs);
    ~FontManager();
    FontManager(const FontManager&) = delete;
    FontManager& operator=(const FontManager&) = delete;

    // The face of a font id, or null outside 0..7.
    FontFace* GetFace(int index) const;
    // Face 5 for character styles 0 and 4, face 6 for style 2, face 7 otherwise.
    FontFace* GetStyleFace(int style) const;
    // Gives faces 0, 1 and 2 the text, italic and bold names of the preferences.
    void UpdateTextFaces(const TextPrefs& prefs);
    void DropFonts();

    int GetCount() const { return kFaceCount; }

private:
    std::array<std::unique_ptr<FontFace>, kFaceCount> m_faces;
};

// The manager the program uses (null before start-up and after exit), and
// shortcuts to its text face (0) and mathematics face (3). User-interface
// thread only: a worker thread touches none of them.
extern FontManager* gFontManager;
extern FontFace* gTextFace;
extern FontFace* gMathFace;

// The face a Unicode character goes into: preferred when that face shows ch,
// else the text face, else the mathematics face; null when no face holds ch.
// *code receives ch's code in the face returned.
FontFace* FaceHolding(char32_t ch, FontFace* preferred, unsigned char* code);
