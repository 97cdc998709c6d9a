#include "foundation/TCopyAsActions.h"

#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"
#include "foundation/DrawContext.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/PictureSource.h"
#include "foundation/TextComp.h"

#include "platform/AppProfile.h"
#include "platform/UserInterface.h"
#include "platform/clipboard/PlatformClipboard.h"

#include <algorithm>
#include <memory>

SelectionTextWriter TCopyMathMLAction::s_writer = nullptr;
SelectionTextWriter TCopySVGAction::s_writer = nullptr;

namespace {

bool HasOwnPicture(TextComp* comp)
{
    if (!comp)
        return false;
    TypeTag tag = comp->Tag();
    return tag == tag_Meta || tag == tag_2Plt || tag == tag_3Plt || tag == tag_Draw;
}

struct PictureDeleter {
    void operator()(EnhMetafile* picture) const { DrawContext::DeleteMetafile(picture); }
};

} // namespace

HENHMETAFILE TCopyMetafileAction::RecordSelection() const
{
    TextComp* single = m_selection.GetSingleObject();
    if (HasOwnPicture(single))
        if (auto* source = dynamic_cast<PictureSource*>(single))
            return source->CopyPicture();
    Rect bounds;
    m_selection.GetBounds(bounds);
    ParagraphList* list = m_selection.GetStart().GetParagraph();
    int first = list ? list->IndexOf(m_selection.GetStart().GetParagraphComp()) : 0;
    int last = list ? list->IndexOf(m_selection.GetEnd().GetParagraphComp()) : 0;
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), bounds);
    for (int i = first; i >= 1 && i <= last; ++i)
        list->GetAt(i)->Paint(bounds);
    return gDrawContext.EndMetafile();
}

void TCopyMetafileAction::Do()
{
    std::unique_ptr<EnhMetafile, PictureDeleter> picture(RecordSelection());
    SaveEarlier();
    if (picture && !picture->IsNull()) {
        const QByteArray& bytes = picture->Bytes();
        m_clipboard.PutMetafile(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
}

void TCopyMathMLAction::Do()
{
    // The writer counts two steps for each component: one as it reads the
    // formula, about one more as it writes it.
    const int components = std::max(1, m_selection.Second().GetIndex() - m_selection.First().GetIndex());
    std::string text;
    m_stopped = false;
    try {
        LongWork work(kCopying, 2 * int64_t(components));
        text = s_writer ? s_writer(m_selection) : std::string();
    } catch (const WorkStopped&) {
        m_stopped = true;
        SetStatusText(kNotCopied);
        return;
    }
    SaveEarlier();
    if (!text.empty())
        m_clipboard.PutTextBlock(text, PlatformClipboard::mathmlMimeType);
    else if (m_selection.HasExtent()) // the clipboard keeps what it held
        UserInterface::Current().MessageBox(kNotAFormula, AppProfile::application, MB_OK | MB_ICONEXCLAMATION);
}

void TCopySVGAction::Do()
{
    SaveEarlier();
    std::string text = s_writer ? s_writer(m_selection) : std::string();
    if (!text.empty())
        m_clipboard.PutTextBlock(text, PlatformClipboard::svgMimeType);
}
