#pragma once
// A clipboard for tests, without a window system: installs itself in place of
// the Qt clipboard for its lifetime. SimulateOtherProgram puts content as
// another program would, after which the program no longer owns the
// clipboard. Text is read back with the same rules as the real clipboard.
#include "platform/clipboard/PlatformClipboard.h"

class FakeClipboard : public PlatformClipboard {
public:
    FakeClipboard();
    ~FakeClipboard() override;

    bool Put(const ClipboardData& data) override;
    void Clear() override;
    bool OwnsClipboard() const override { return m_owned; }
    uint64_t ChangeCount() const override { return m_changes; }
    bool HasFormat(Format format) const override;
    std::optional<std::vector<uint8_t>> GetPrivateData() const override { return content.privateData; }
    // Counts the reads, so that tests see what is read again.
    std::optional<std::string> GetText() const override;
    std::optional<std::vector<uint8_t>> GetMetafile() const override { return content.metafile; }

    void SimulateOtherProgram(const ClipboardData& data);
    // When false, Put fails as when the clipboard cannot be opened.
    bool available = true;

    ClipboardData content;
    int putCount = 0;
    mutable int textReads = 0;

private:
    bool m_owned = false;
    uint64_t m_changes = 0;
    PlatformClipboard* m_previous;
};
