#pragma once
// The kernel's expression-input frame: a small modal frame window, titled
// "Kernel Query", with the kernel's prompt above, an editing view in which
// the user types the answer as mathematics, and OK and Cancel below. Enter
// in the editor or OK confirms; Cancel or the close box cancels.
#include <functional>
#include <string>

#include "app/CFixedSplitterWnd.h"
#include "foundation/DocSelection.h"
#include "platform/framework/CFrameWnd.h"

class CCorvellDialogView;
class ParagraphList;

class CMMAQueryDialog : public CFrameWnd {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 334;
    static constexpr int kPromptHeight = 40;
    static constexpr int kEditorHeight = 194;
    static constexpr int kButtonsHeight = 28;
    static constexpr UINT kMenuId = 161;

    // The frame edits paragraphs (owned by the caller); parent null: the main window.
    CMMAQueryDialog(std::string prompt, ParagraphList* paragraphs, CWnd* parent = nullptr);

    // Shows the frame and runs its modal loop: IDOK or IDCANCEL. The parent
    // is disabled meanwhile; the frame is destroyed before returning.
    int Run();
    // The editor's selection when the loop ended.
    const DocSelection& GetFinalSelection() const { return m_selection; }
    CCorvellDialogView* GetEditor() const;

    // Tests answer the frame as a user would: the hook runs once the modal
    // loop has started. Returns the hook it replaces.
    using RunHook = std::function<void(CMMAQueryDialog&)>;
    static RunHook SetRunHook(RunHook hook);

protected:
    BOOL OnCreateClient(CCreateContext* context) override;
    void PostNcDestroy() override {}

private:
    std::string m_prompt;
    ParagraphList* m_paragraphs;
    CWnd* m_parent;
    CFixedSplitterWnd m_splitter;
    DocSelection m_selection;
};
