#pragma once
// The clipboard over QClipboard and QMimeData. The program owns the clipboard
// exactly while QClipboard still hands out the QMimeData object it put there:
// when another program takes the clipboard, Qt deletes that object.
#include <memory>

#include <QMimeData>
#include <QPointer>
#include <QStringList>

#include "platform/clipboard/PlatformClipboard.h"

#include <QClipboard>

class QtClipboard : public PlatformClipboard {
public:
    QtClipboard();
    ~QtClipboard() override;

    bool Put(const ClipboardData& data) override;
    void Clear() override;
    bool OwnsClipboard() const override;
    uint64_t ChangeCount() const override;
    bool HasFormat(Format format) const override;
    std::optional<std::vector<uint8_t>> GetPrivateData() const override;
    std::optional<std::string> GetText() const override;
    std::optional<std::vector<uint8_t>> GetMetafile() const override;

    static QtClipboard& Instance();

    // The mime data for data, as Put sets it (exposed for tests).
    static QMimeData* MakeMimeData(const ClipboardData& data);

private:
    static QClipboard* System();
    const QMimeData* Content() const;
    // The clipboard's formats, asked once per change of its content.
    const QStringList& Formats() const;
    // Forgets the known formats whenever the clipboard's content changes.
    void Watch() const;

    QPointer<QMimeData> m_put;
    std::unique_ptr<QObject> m_watcher;
    mutable QPointer<QClipboard> m_watched;
    mutable QStringList m_formats;
    mutable bool m_formatsKnown = false;
    mutable uint64_t m_changes = 0;
};
