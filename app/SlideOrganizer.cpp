#include "app/SlideOrganizer.h"

#include "foundation/DrawTargetScope.h"
#include "app/SlideList.h"
#include "foundation/ActionView.h"
#include "foundation/DrawContext.h"
#include "foundation/ParagraphList.h"

namespace {

// Ends a recording that did not come to its end (a failure while painting).
class RecordingGuard {
public:
    RecordingGuard() = default;
    ~RecordingGuard()
    {
        if (m_open)
            DrawContext::DeleteMetafile(gDrawContext.EndMetafile());
    }
    RecordingGuard(const RecordingGuard&) = delete;
    RecordingGuard& operator=(const RecordingGuard&) = delete;
    void Begin(const Rect& rect)
    {
        gDrawContext.BeginMetafile(gDrawContext.GetTarget(), rect);
        m_open = true;
    }
    HENHMETAFILE End()
    {
        m_open = false;
        return gDrawContext.EndMetafile();
    }

private:
    bool m_open = false;
};

// Puts every paragraph back on screen however the recording ends.
class ShowGuard {
public:
    explicit ShowGuard(SlideList& slides) : m_slides(slides) { m_slides.StartShow(); }
    ~ShowGuard() { m_slides.EndShow(); }
    ShowGuard(const ShowGuard&) = delete;
    ShowGuard& operator=(const ShowGuard&) = delete;

private:
    SlideList& m_slides;
};

}  // namespace

Rect SlidePictureRect()
{
    const int left = gDrawContext.GetLeftMargin();
    const int top = gDrawContext.GetTopMargin();
    const int right = gDrawContext.GetPageWidth();
    return Rect(left, top, right, top + (right - left) * 3 / 4);
}

std::vector<SlidePicture> RecordSlidePictures(SlideList& slides)
{
    std::vector<SlidePicture> pictures;
    const Rect rect = SlidePictureRect();
    ParagraphList* paragraphs = slides.GetParagraphList();
    try {
        ShowGuard show(slides);
        for (int i = 0; i < slides.GetCount(); ++i) {
            RecordingGuard recording;
            recording.Begin(rect);
            gDrawContext.EraseRect(rect);
            if (paragraphs)
                paragraphs->PaintRange(rect);
            pictures.push_back({recording.End(), i});
            slides.Next();
        }
    } catch (...) {
        DeleteSlidePictures(pictures);
        throw;
    }
    return pictures;
}

void DeleteSlidePictures(std::vector<SlidePicture>& pictures)
{
    for (SlidePicture& slide : pictures)
        DrawContext::DeleteMetafile(slide.picture);
    pictures.clear();
}

void OrganizeSlides(ActionView& view, SlideList& slides, DrawTarget* target)
{
    std::vector<SlidePicture> pictures;
    {
        DrawTargetScope drawing(target);
        pictures = RecordSlidePictures(slides);
        InvalidateWholeView(target);
    }
    try {
        COrganizeSlidesDialog dialog(pictures);
        if (dialog.DoModal() == IDOK) {
            const std::vector<int>& order = dialog.GetOrder();
            slides.Reorder(order.empty() ? nullptr : order.data(), int(order.size()));
            view.SetDocumentModified();
        }
    } catch (...) {
        DeleteSlidePictures(pictures);
        throw;
    }
    DeleteSlidePictures(pictures);
}
