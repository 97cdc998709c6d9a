#pragma once
// The state of one print job as the view's printing calls see it: the page
// range (the last page is set when printing begins), the page being printed,
// whether to go on, and the printer. The printer is the application's (see
// AfxGetPrinter); tests point it at a PDF file.
#include "platform/framework/AfxTypes.h"

class QPrinter;

struct CPrintInfo {
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    void SetMinPage(UINT page) { m_nMinPage = page; }
    void SetMaxPage(UINT page) { m_nMaxPage = page; }
    UINT GetFromPage() const { return m_nFromPage ? m_nFromPage : m_nMinPage; }
    UINT GetToPage() const { return m_nToPage ? m_nToPage : m_nMaxPage; }

    QPrinter* m_printer = nullptr;
    BOOL m_bDirect = FALSE;       // no print dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    UINT m_nFromPage = 0;         // the range the user chose; 0 for all pages
    UINT m_nToPage = 0;
    CRect m_rectDraw;             // the page's printable area in device pixels
    void* m_lpUserData = nullptr;
};

// The printer every print job uses; Print Setup changes it.
QPrinter& AfxGetPrinter();
