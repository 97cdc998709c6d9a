#pragma once
// The fuzz entry for the clipboard's private format ("Quorvant Data") and its
// plain text, shared by the libFuzzer target and the corpus replay test. An
// input is the private block another program left on the clipboard:
// DocClipboard reads it as it does before a paste, hands out a copy, and the
// copy's private bytes, put back on the clipboard and read again, must give
// the same bytes. Bad input may only end in CFormatException or the
// end-of-file CFileException. The same input is also read as another
// program's text: the UTF-8 text the paragraphs give, read again, gives itself.
#include "foundation/ActionSupport.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/Exceptions.h"
#include "platform/clipboard/PlatformClipboard.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace clipboardfuzz {

// A clipboard that holds one private block put there by another program.
class BlockClipboard : public PlatformClipboard {
public:
    explicit BlockClipboard(std::vector<uint8_t> bytes) : m_block(std::move(bytes)), m_previous(Install(this)) {}
    ~BlockClipboard() override { Install(m_previous); }

    bool Put(const ClipboardData& data) override
    {
        m_block = data.privateData.value_or(std::vector<uint8_t>());
        ++m_changes;
        return true;
    }
    void Clear() override {}
    bool OwnsClipboard() const override { return false; }
    uint64_t ChangeCount() const override { return m_changes; }
    bool HasFormat(Format format) const override { return format == PrivateFormat; }
    std::optional<std::vector<uint8_t>> GetPrivateData() const override { return m_block; }
    std::optional<std::string> GetText() const override { return std::nullopt; }
    std::optional<std::vector<uint8_t>> GetMetafile() const override { return std::nullopt; }

private:
    std::vector<uint8_t> m_block;
    uint64_t m_changes = 0;
    PlatformClipboard* m_previous;
};

// What the fuzzer's process needs once (the replay test has it from the test
// program): a GUI application on the offscreen platform for the fonts, the
// fonts, the paragraph styles and the component classes.
inline void SetUpProcess()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_clipboard";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    static TextPrefs prefs;
    static FontManager fonts(prefs);
    InstallTextLayout();
    RegisterComponentClasses();
}

// The private bytes of a copy of what the clipboard holds (empty: nothing).
inline std::vector<uint8_t> ReadBlock(const std::vector<uint8_t>& block)
{
    BlockClipboard clipboard(block);
    DocClipboard reader;
    DocSelection copy = reader.GetContent();
    ParagraphList* list = copy.GetStart().GetParagraph();
    std::vector<uint8_t> bytes = list ? DocClipboard::PrivateBytes(*list) : std::vector<uint8_t>();
    ActionSupport::DestroyFragment(copy);
    return bytes;
}

// The UTF-8 text of the paragraphs that a text gives, without the line ends
// of empty last paragraphs (a text's last line end starts no paragraph).
inline std::string TextRoundTrip(const std::string& text)
{
    std::string out = DocClipboard::PlainText(*DocClipboard::ParagraphsFromText(text));
    while (!out.empty() && out.back() == '\r')
        out.pop_back();
    return out;
}

// Runs one input. Answers false when the input was rejected as bad data.
inline bool RunClipboardInput(const uint8_t* data, size_t size)
{
    // After one trip the text holds only what the faces show; a second trip
    // keeps it.
    const std::string text = TextRoundTrip(std::string(reinterpret_cast<const char*>(data), size));
    if (TextRoundTrip(text) != text)
        std::abort();
    std::vector<uint8_t> written;
    try {
        written = ReadBlock(std::vector<uint8_t>(data, data + size));
    } catch (const CFormatException&) {
        return false;
    } catch (const CFileException& e) {
        if (e.m_cause != CFileException::endOfFile)
            throw;
        return false;
    }
    // What was read and written must read back and write the same bytes again.
    if (!written.empty() && ReadBlock(written) != written)
        std::abort();
    return true;
}

} // namespace clipboardfuzz
