#pragma once
// An exponent ("Expo"): a raised script. Its script's baseline stands a
// third of the script's ascent below the top of what precedes it (or of the
// em box, when that is higher), and its box ends at the baseline. A script
// of prime characters is a derivative mark.
#include "math/ScriptComp.h"

class ExponentComp : public ScriptComp {
public:
    static constexpr unsigned char kPrime = 183;
    static constexpr unsigned char kDoublePrime = 242;

    ExponentComp() = default;
    explicit ExponentComp(std::unique_ptr<CompArray> items) : ScriptComp(std::move(items)) {}
    // The script holds the math face's character of the code (the Element
    // menu's Prime and Double Prime).
    explicit ExponentComp(int code);

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Expo; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    // Inside an empty script; after the exponent when it has content.
    void GetEntryPosition(DocPosition& out) override;

    int GetScriptOffset() const { return m_scriptOffset; }

private:
    // The top of the component before this one in its row, or 0 when none.
    int PrecedingTop() const;

    int m_scriptOffset = 0;
};
