#include "foundation/DocClipboard.h"

#include "foundation/ActionSupport.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextOutBuffer.h"

#include "platform/clipboard/ClipboardText.h"
#include "platform/clipboard/PlatformClipboard.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/SvgDC.h"

#include <QBuffer>
#include <QImage>

#include <utility>

DocClipboard* gDocClipboard = nullptr;
DocClipboard::PictureMaker DocClipboard::s_pictureMaker = nullptr;

namespace {

DocSelection TakeList(std::unique_ptr<ParagraphList> list)
{
    if (list->GetCount() == 0)
        return DocSelection();
    DocSelection span = list->GetFullSelection();
    list.release(); // the selection holds it from now on
    return span;
}

} // namespace

DocClipboard::DocClipboard()
{
    gDocClipboard = this;
}

DocClipboard::~DocClipboard()
{
    DropKept();
    if (gDocClipboard == this)
        gDocClipboard = nullptr;
}

void DocClipboard::Keep(DocSelection content)
{
    DropKept();
    m_content = content;
    m_hasContent = content.GetStart().GetParagraph() != nullptr;
    m_foreign = false;
}

void DocClipboard::DropKept()
{
    if (m_hasContent)
        ActionSupport::DestroyFragment(m_content);
    m_content = DocSelection();
    m_hasContent = false;
    m_textBlock = TextBlock();
    m_leftOut = LeftOutCharacters();
}

std::vector<uint8_t> DocClipboard::PrivateBytes(const ParagraphList& list)
{
    CountingStream counter;
    {
        DocWriter measure(&counter);
        list.Write(measure, false);
    }
    std::vector<uint8_t> bytes(size_t(counter.GetLength()));
    MemoryStream stream(bytes.data(), int32_t(bytes.size()));
    DocWriter writer(&stream);
    list.Write(writer, false);
    return bytes;
}

std::string DocClipboard::PlainText(const ParagraphList& list)
{
    CountingStream counter;
    {
        TextOutBuffer measure(&counter, TextOutBuffer::kUtf8);
        list.WriteTextAll(measure);
    }
    std::string text(size_t(counter.GetLength()), '\0');
    MemoryStream stream(text.data(), int32_t(text.size()));
    TextOutBuffer out(&stream, TextOutBuffer::kUtf8);
    list.WriteTextAll(out);
    return text;
}

std::unique_ptr<ParagraphList> DocClipboard::ParagraphsFromText(const std::string& text, LeftOutCharacters* left)
{
    std::string lines = ClipboardText::ForProgram(text);
    auto list = std::make_unique<ParagraphList>();
    if (left)
        *left = LeftOutCharacters();
    if (lines.empty())
        return list;
    MemoryStream stream(lines.data(), int32_t(lines.size()));
    list->ReadText(stream, left);
    return list;
}

bool DocClipboard::Put(DocSelection content)
{
    ParagraphList* list = content.GetStart().GetParagraph();
    if (!list) {
        return false;
    }
    ClipboardData data;
    data.text = PlainText(*list);
    data.privateData = PrivateBytes(*list);
    Keep(content);
    ++m_stamp;
    if (!PlatformClipboard::Current().Put(data)) {
        DropKept();
        return false;
    }
    return true;
}

bool DocClipboard::OwnsClipboard() const
{
    return PlatformClipboard::Current().OwnsClipboard();
}

void DocClipboard::Refresh()
{
    PlatformClipboard& clipboard = PlatformClipboard::Current();
    const uint64_t changes = clipboard.ChangeCount();
    if (!m_textBlock.text.empty()) {
        if (clipboard.OwnsClipboard())
            return;
        DropKept();
    }
    if (m_hasContent) {
        if (clipboard.OwnsClipboard() || (m_foreign && changes == m_readAt))
            return;
        DropKept();
    }
    if (ReadClipboard(clipboard)) {
        m_foreign = true;
        m_readAt = changes;
    }
}

bool DocClipboard::ReadClipboard(PlatformClipboard& clipboard)
{
    if (auto bytes = clipboard.GetPrivateData()) {
        MemoryStream stream(bytes->data(), int32_t(bytes->size()));
        DocReader reader(&stream);
        auto list = std::make_unique<ParagraphList>();
        list->ReadCounted(reader);
        Keep(TakeList(std::move(list)));
        return true;
    }
    if (auto text = clipboard.GetText()) {
        LeftOutCharacters left;
        Keep(TakeList(ParagraphsFromText(*text, &left)));
        m_leftOut = std::move(left);
        return true;
    }
    if (auto metafile = clipboard.GetMetafile()) {
        TextComp* picture = s_pictureMaker ? s_pictureMaker(*metafile) : nullptr;
        if (!picture)
            return false;
        DocSelection span;
        ParagraphList::FromObject(nullptr, picture, &span).release();
        Keep(span);
        return true;
    }
    return false;
}

DocSelection DocClipboard::GetContent()
{
    Refresh();
    ++m_stamp;
    if (!m_textBlock.text.empty())
        return TakeList(ParagraphsFromText(m_textBlock.text));
    if (!m_hasContent || !ActionSupport::HoldsContent(m_content))
        return DocSelection();
    return m_content.MakeCopyRecord();
}

DocSelection DocClipboard::SaveContent(DocumentModel*)
{
    Refresh();
    if (!m_textBlock.text.empty())
        return TakeList(ParagraphsFromText(m_textBlock.text));
    return m_hasContent ? m_content.MakeCopyRecord() : DocSelection();
}

DocSelection DocClipboard::GetContentCopy()
{
    Refresh();
    if (!m_textBlock.text.empty() && !m_hasContent) {
        TextBlock block = std::move(m_textBlock);
        Keep(TakeList(ParagraphsFromText(block.text)));
        m_textBlock = std::move(block);
    }
    return m_hasContent ? m_content : DocSelection();
}

bool DocClipboard::CanPasteAt(const DocPosition& position)
{
    Refresh();
    // A text block's paragraphs hold characters alone, which go wherever a
    // list takes components and into no object's own places.
    if (!m_textBlock.text.empty())
        return position.GetKind() == DocPosition::kListPlace && position.GetList();
    return m_hasContent && m_content.CanInsertAt(position);
}

bool DocClipboard::HasData() const
{
    using F = PlatformClipboard::Format;
    return PlatformClipboard::Current().GetPriorityFormat({F::PrivateFormat, F::TextFormat, F::MetafileFormat}) > 0;
}

void DocClipboard::Clear()
{
    DropKept();
    ++m_stamp;
    PlatformClipboard::Current().Clear();
}

bool DocClipboard::PutMetafile(const std::vector<uint8_t>& metafile)
{
    ClipboardData data;
    data.metafile = metafile;
    // Programs that do not read EMF get the picture as PNG and SVG.
    EnhMetafile picture(QByteArray(reinterpret_cast<const char*>(metafile.data()), qsizetype(metafile.size())));
    if (picture.IsValid()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (RenderPictureToImage(picture).save(&buffer, "PNG"))
            data.png = std::vector<uint8_t>(png.begin(), png.end());
        QByteArray svg = RenderPictureToSvg(picture);
        if (!svg.isEmpty())
            data.svg = svg.toStdString();
    }
    if (TextComp* picture = s_pictureMaker ? s_pictureMaker(metafile) : nullptr) {
        DocSelection span;
        ParagraphList::FromObject(nullptr, picture, &span).release();
        Keep(span);
    } else {
        DropKept();
    }
    ++m_stamp;
    if (!PlatformClipboard::Current().Put(data)) {
        DropKept();
        return false;
    }
    return true;
}

bool DocClipboard::PutTextBlock(const std::string& text, const char* mimeType)
{
    ClipboardData data;
    std::string plain = text.substr(0, text.find('\0'));
    data.text = plain;
    if (mimeType && std::string(mimeType) == PlatformClipboard::mathmlMimeType)
        data.mathml = plain;
    else if (mimeType && std::string(mimeType) == PlatformClipboard::svgMimeType)
        data.svg = plain;
    DropKept();
    ++m_stamp;
    if (!PlatformClipboard::Current().Put(data))
        return false;
    if (!plain.empty())
        m_textBlock = TextBlock{std::move(plain), mimeType ? mimeType : ""};
    return true;
}

DocClipboard::TextBlock DocClipboard::KeptTextBlock() const
{
    return OwnsClipboard() ? m_textBlock : TextBlock();
}
