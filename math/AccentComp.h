#pragma once
// An accent over a row ("OvSc"): a character of the math face (hat, dot,
// double dot, vector arrow or tilde) one size unit above the row, centred
// over it and shifted right along the slant of italic letters.
#include "math/OverComp.h"

#include <cstdint>

class AccentComp : public OverComp {
public:
    static constexpr unsigned char kHat = 193;
    static constexpr unsigned char kDot = 198;
    static constexpr unsigned char kDoubleDot = 229;
    static constexpr unsigned char kVector = 230;
    static constexpr unsigned char kTilde = 208;

    AccentComp() = default;
    AccentComp(std::unique_ptr<CompArray> items, unsigned char kind)
        : OverComp(std::move(items)), m_accentChar(kind)
    {
    }

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_OvSc; }
    // Same tag, same rows and the same accent.
    bool IsEqual(const TextComp& other) const override;

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    unsigned char GetAccentChar() const { return m_accentChar; }
    const IntPoint& GetAccentOffset() const { return m_accentOffset; }
    // The LaTeX command of an accent code, or null for any other code.
    static const char* LaTeXCommand(unsigned char code);

private:
    // Where the accent's centre stands from the content's left edge.
    int AccentCentre() const;

    IntPoint m_accentOffset;
    unsigned char m_accentChar = kHat;
};
