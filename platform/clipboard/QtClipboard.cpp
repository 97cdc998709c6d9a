#include "platform/clipboard/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/clipboard/ClipboardText.h"

namespace {

QByteArray Bytes(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::vector<uint8_t> Bytes(const QByteArray& bytes)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

QtClipboard::QtClipboard() : m_watcher(std::make_unique<QObject>()) {}

QtClipboard::~QtClipboard() = default;

QtClipboard& QtClipboard::Instance()
{
    static QtClipboard instance;
    return instance;
}

QClipboard* QtClipboard::System()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QMimeData* QtClipboard::MakeMimeData(const ClipboardData& data)
{
    auto* mime = new QMimeData;
    if (data.text) {
        const std::string text = ClipboardText::ForOtherPrograms(*data.text);
        mime->setText(QString::fromStdString(text));
        mime->setData(utf8TextMimeType, QByteArray::fromStdString(text));
    }
    if (data.privateData)
        mime->setData(privateMimeType, Bytes(*data.privateData));
    if (data.metafile)
        mime->setData(metafileMimeType, Bytes(*data.metafile));
    if (data.png)
        mime->setData(pngMimeType, Bytes(*data.png));
    if (data.svg)
        mime->setData(svgMimeType, QByteArray::fromStdString(*data.svg));
    if (data.mathml)
        mime->setData(mathmlMimeType, QByteArray::fromStdString(*data.mathml));
    return mime;
}

bool QtClipboard::Put(const ClipboardData& data)
{
    QClipboard* clipboard = System();
    if (!clipboard)
        return false;
    QMimeData* mime = MakeMimeData(data);
    clipboard->setMimeData(mime);
    m_put = mime;
    m_formatsKnown = false;
    return true;
}

void QtClipboard::Clear()
{
    if (OwnsClipboard())
        System()->clear();
    m_put = nullptr;
    m_formatsKnown = false;
}

bool QtClipboard::OwnsClipboard() const
{
    QClipboard* clipboard = System();
    return clipboard && m_put && clipboard->mimeData() == m_put.data();
}

const QMimeData* QtClipboard::Content() const
{
    QClipboard* clipboard = System();
    return clipboard ? clipboard->mimeData() : nullptr;
}

void QtClipboard::Watch() const
{
    QClipboard* clipboard = System();
    if (!clipboard || clipboard == m_watched)
        return;
    QObject::connect(clipboard, &QClipboard::dataChanged, m_watcher.get(), [this] {
        m_formatsKnown = false;
        ++m_changes;
    });
    m_watched = clipboard;
    m_formatsKnown = false;
    ++m_changes;
}

uint64_t QtClipboard::ChangeCount() const
{
    Watch();
    return m_changes;
}

const QStringList& QtClipboard::Formats() const
{
    Watch();
    if (!m_formatsKnown) {
        const QMimeData* mime = Content();
        m_formats = mime ? mime->formats() : QStringList();
        m_formatsKnown = true;
    }
    return m_formats;
}

bool QtClipboard::HasFormat(Format format) const
{
    const QStringList& formats = Formats();
    switch (format) {
    case PrivateFormat: return formats.contains(privateMimeType);
    case TextFormat:
        for (const QString& name : formats) {
            if (name == textMimeType || name.startsWith(QStringLiteral("text/plain;")))
                return true;
        }
        return false;
    case MetafileFormat: return formats.contains(metafileMimeType) || formats.contains(metafileMimeTypeAlias);
    }
    return false;
}

std::optional<std::vector<uint8_t>> QtClipboard::GetPrivateData() const
{
    const QMimeData* mime = Content();
    if (!mime || !mime->hasFormat(privateMimeType))
        return std::nullopt;
    return Bytes(mime->data(privateMimeType));
}

std::optional<std::string> QtClipboard::GetText() const
{
    const QMimeData* mime = Content();
    if (!mime)
        return std::nullopt;
    if (mime->hasText())
        return ClipboardText::ForProgram(mime->text().toStdString());
    // Some programs offer their text only under the UTF-8 form of the type.
    for (const QString& format : Formats()) {
        if (format.compare(QLatin1String(utf8TextMimeType), Qt::CaseInsensitive) == 0)
            return ClipboardText::ForProgram(mime->data(format).toStdString());
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> QtClipboard::GetMetafile() const
{
    const QMimeData* mime = Content();
    if (!mime)
        return std::nullopt;
    for (const char* type : {metafileMimeType, metafileMimeTypeAlias}) {
        if (mime->hasFormat(type))
            return Bytes(mime->data(type));
    }
    return std::nullopt;
}
