#include "app/dialogs/COrganizeSlidesDialog.h"

#include "platform/draw/ImageDC.h"

#include <QImage>
#include <cstdio>

COrganizeSlidesDialog::COrganizeSlidesDialog(const std::vector<SlidePicture>& slides, CWnd* parent)
    : CDialog(IDD, parent), m_slides(slides)
{
}

BOOL COrganizeSlidesDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(kListId, this);
    m_list.EnableOwnerDraw(true);
    for (const SlidePicture& slide : m_slides) {
        CString text;
        text.Format("%d", slide.index);
        const int item = m_list.AddString(text);
        m_list.SetItemData(item, reinterpret_cast<DWORD_PTR>(slide.picture));
    }
    m_list.SetCurSel(0);
    ShowPreview();
    return TRUE;
}

void COrganizeSlidesDialog::OnControlNotify(UINT code, UINT id)
{
    if (id == kListId && code == LBN_SELCHANGE) {
        ShowPreview();
        return;
    }
    CDialog::OnControlNotify(code, id);
}

void COrganizeSlidesDialog::ShowPreview()
{
    const int selected = m_list.GetCurSel();
    m_preview = selected >= 0 ? reinterpret_cast<HENHMETAFILE>(m_list.GetItemData(selected)) : nullptr;
    auto* preview = dynamic_cast<CStatic*>(GetDlgItem(kPreviewId));
    if (!preview)
        return;
    CRect area;
    preview->GetClientRect(&area);
    QImage image(std::max(area.Width(), 1), std::max(area.Height(), 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (m_preview) {
        CImageDC dc(image);
        dc.PlayEnhMetaFile(*m_preview, CRect(0, 0, image.width(), image.height()));
    }
    preview->SetImage(image);
}

void COrganizeSlidesDialog::OnOK()
{
    m_order.clear();
    const int count = m_list.GetCount();
    for (int i = 0; i < count; ++i) {
        CString text;
        m_list.GetText(i, text);
        int number = 0;
        if (std::sscanf(text.c_str(), "%d", &number) == 1)
            m_order.push_back(number);
    }
    CDialog::OnOK();
}
