#pragma once
// A link ("Link"): a display text in the running text that carries a URL.
// It is one unit for the caret and has no child rows.
#include "foundation/BoxComp.h"
#include "foundation/Str255.h"

#include <functional>
#include <optional>
#include <string>

class DocSelection;
class QString;

class HyperlinkComp : public BoxComp {
public:
    // Shows the Link Properties dialog with the URL and display text; answers
    // true on OK with both updated, false on Cancel. The application installs it.
    using PropertiesPrompt = std::function<bool(Str255& url, Str255& text)>;
    static void SetPropertiesPrompt(PropertiesPrompt prompt);

    HyperlinkComp() = default;
    HyperlinkComp(const Str255& url, const Str255& text, bool external)
        : m_url(url), m_text(text), m_external(external)
    {
    }

    const Str255& GetURL() const { return m_url; }
    const Str255& GetDisplayText() const { return m_text; }
    bool IsExternal() const { return m_external; }
    void SetExternal(bool external) { m_external = external; }
    // Whether the editor follows the link at all (see LinkAddress): the
    // exports write a link it refuses (a script) as its text alone.
    bool IsFollowed() const;
    // The target as a web page's link, in UTF-8; none when not followed.
    std::optional<std::string> WebAddress() const;

    TextComp* Clone(LinkRemap&) override { return new HyperlinkComp(m_url, m_text, m_external); }
    void GetTag(TypeTag& out) const override { out = tag_Link; }
    void Measure() override;
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    bool IsEqual(const TextComp& other) const override;
    void WriteText(TextOutBuffer& out) const override;
    // Through the writer's document-link operation; a writer without it, or a
    // link that is not followed, gets the display text.
    void WriteLaTeX(LaTeXWriter& writer) override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    // Edits the link in the Link Properties dialog. A selection of characters
    // only proposes its text as the display text. True when the user confirmed;
    // on Cancel (or with no dialog installed) the link stays as it was.
    bool Edit(const DocSelection* selection);

private:
    QString Target() const;

    Str255 m_url;
    Str255 m_text;
    bool m_external = true;
};
