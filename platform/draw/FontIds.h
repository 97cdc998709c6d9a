#pragma once
// The font ids that components and documents store: which of the program's
// eight faces draws a character (see FontManager). Stored in files, so the
// numbers never change.
namespace FontId {
enum : int {
    kText = 0,        // text font of the preferences
    kItalic = 1,      // italic font of the preferences
    kBold = 2,        // bold font of the preferences
    kMath = 3,        // "Corvell Math": characters are symbol codes
    kCode = 4,        // code font of the preferences
    kRoman = 5,       // "Corvell Roman", character styles 0 and 4
    kRomanBold = 6,   // "Corvell Roman" bold, character style 2
    kRomanOther = 7,  // "Corvell Roman", any other character style
    kCount = 8,
};
} // namespace FontId
