#pragma once
// "Kernel Query" with two lists: the kernel asks for a subset. Items move
// between the lists with "->" and "<-" (or a double-click); after OK,
// m_right holds the items of the right-hand list, as indices into the items
// the dialog was given (the unselected ones, then the selected ones).
#include "platform/framework/CDialog.h"

#include <string>
#include <vector>

class CKernelSelectDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 160 };
    enum : int { kPromptId = 1086, kLeftLabelId = 1087, kRightLabelId = 1092, kLeftId = 1088, kRightId = 1089,
                 kToRightId = 1090, kToLeftId = 1091 };

    CKernelSelectDialog(std::vector<std::string> texts, std::vector<std::string> labels, std::vector<int> left,
                        std::vector<int> right, CWnd* parent)
        : CDialog(kTemplateId, parent), m_left(std::move(left)), m_right(std::move(right)),
          m_texts(std::move(texts)), m_labels(std::move(labels)) {}
    BOOL OnInitDialog() override;
    void OnControlNotify(UINT code, UINT id) override;

    std::vector<int> m_left, m_right;

private:
    // Moves the selected item of one list to the end of the other.
    void Move(int fromId, std::vector<int>& from, int toId, std::vector<int>& to);
    void Fill(int id, const std::vector<int>& items, int selected);

    std::vector<std::string> m_texts;
    std::vector<std::string> m_labels;   // prompt, left label, right label
};
