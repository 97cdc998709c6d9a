#pragma once
// The arrow keys (with Shift extending, with Ctrl stepping into structures),
// selecting the place before the caret, and selecting the word at the caret.
#include "foundation/TKeyAction.h"

#include <cstdint>

class TArrowKeyAction : public TKeyAction {
public:
    static constexpr int kLeft = 37;
    static constexpr int kUp = 38;
    static constexpr int kRight = 39;
    static constexpr int kDown = 40;

    // key is 37 Left, 38 Up, 39 Right or 40 Down; any other leaves the selection.
    TArrowKeyAction(ActionView& view, const DocSelection& selection, int key, bool extend, bool ctrl)
        : TKeyAction(view, selection, extend), m_key(static_cast<uint8_t>(key)), m_ctrl(ctrl) {}
    void Compute() override;

private:
    uint8_t m_key;
    uint8_t m_ctrl;
};

// The child, column, row or variable just before the caret becomes selected.
class TSelectPreviousAction : public TKeyAction {
public:
    TSelectPreviousAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// The run of characters around the selection's start (a double-click).
class TSelectWordAction : public TKeyAction {
public:
    TSelectWordAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};
