#include "FakeClipboard.h"

#include "platform/clipboard/ClipboardText.h"

FakeClipboard::FakeClipboard() : m_previous(PlatformClipboard::Install(this)) {}

FakeClipboard::~FakeClipboard()
{
    PlatformClipboard::Install(m_previous);
}

bool FakeClipboard::Put(const ClipboardData& data)
{
    if (!available)
        return false;
    content = data;
    if (content.text)
        content.text = ClipboardText::ForOtherPrograms(*content.text);
    m_owned = true;
    ++putCount;
    ++m_changes;
    return true;
}

void FakeClipboard::Clear()
{
    if (m_owned) {
        content = ClipboardData();
        ++m_changes;
    }
    m_owned = false;
}

bool FakeClipboard::HasFormat(Format format) const
{
    switch (format) {
    case PrivateFormat: return content.privateData.has_value();
    case TextFormat: return content.text.has_value();
    case MetafileFormat: return content.metafile.has_value();
    }
    return false;
}

std::optional<std::string> FakeClipboard::GetText() const
{
    ++textReads;
    if (!content.text)
        return std::nullopt;
    return ClipboardText::ForProgram(*content.text);
}

void FakeClipboard::SimulateOtherProgram(const ClipboardData& data)
{
    content = data;
    m_owned = false;
    ++m_changes;
}
