#pragma once
// Slides/Organize Slides...: the slides as pictures in a list the user
// reorders by dragging and thins out with the Delete key, with a larger
// preview of the selected slide. OK answers the new order as the slides'
// numbers before reordering.
#include "app/dialogs/CWMFDragListBox.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/framework/CDialog.h"

#include <vector>

// A slide's picture and its number before reordering (0-based).
struct SlidePicture {
    HENHMETAFILE picture = nullptr;
    int index = 0;
};

class COrganizeSlidesDialog : public CDialog {
public:
    enum : UINT { IDD = 208 };
    enum ControlId : UINT { kListId = 1134, kPreviewId = 1135 };

    // The pictures stay the caller's.
    explicit COrganizeSlidesDialog(const std::vector<SlidePicture>& slides, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnControlNotify(UINT code, UINT id) override;

    // After OK: for each item in list order, its slide's number.
    const std::vector<int>& GetOrder() const { return m_order; }
    CWMFDragListBox& GetList() { return m_list; }
    // The picture the preview shows (null: none).
    HENHMETAFILE GetPreviewPicture() const { return m_preview; }

private:
    void ShowPreview();

    std::vector<SlidePicture> m_slides;
    std::vector<int> m_order;
    CWMFDragListBox m_list;
    HENHMETAFILE m_preview = nullptr;
};
