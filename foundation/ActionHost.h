#pragma once
// The single undo step of a view: performs new actions and keeps the last
// one, reverts or redoes it, and gives the Edit menu's Undo item its text.
// A typing action that later characters extend is remembered beside it.
// The editing view holds one and runs every action through it.
#include "foundation/ActionView.h"

#include <string>

class TAction;
class TTypingAction;

class ActionHost {
public:
    explicit ActionHost(ActionView& view) : m_view(view) {}
    // Commits and deletes the kept action.
    ~ActionHost();
    ActionHost(const ActionHost&) = delete;
    ActionHost& operator=(const ActionHost&) = delete;

    // Performs the action and keeps it in place of the kept one, which is
    // committed and deleted then; then performs the follow-up the action
    // asks for the same way. An exception while performing drops both
    // actions (committed and deleted) and answers false, so the view can
    // beep. An action that refuses (it changed nothing and said why), or
    // that changed nothing, is dropped and the kept one stays, the
    // document's modified mark untouched. Answers false when the action
    // failed or was refused.
    bool Perform(TAction* action);
    // Reverts the kept action when it is done, else redoes it, and marks the
    // document modified when it did (a redo the user stopped did not);
    // characters typed afterwards start a new typing action.
    void UndoOrRedo();
    // The Undo item: "Undo <name>", "Redo <name>" or "Can't undo"; enabled
    // when an action is kept that can be undone.
    std::string MenuText() const;
    bool MenuEnabled() const;

    // While a mouse drag runs every new action is refused (and deleted).
    void SetTracking(bool tracking) { m_tracking = tracking; }

    TAction* GetKept() const { return m_kept; }
    // The kept action while it is a typing action later characters extend.
    TTypingAction* GetTyping() const { return m_typing; }
    // Performs a new typing action (when there is none) and adds the character.
    void Type(unsigned char code);
    // Later characters start a new typing action (the caret was moved).
    void ClearTyping() { m_typing = nullptr; }
    // Commits and deletes the kept action.
    void Drop();

private:
    // Commits and deletes an action no longer kept.
    static void Commit(TAction* action);

    ActionView& m_view;
    TAction* m_kept = nullptr;
    TTypingAction* m_typing = nullptr;
    bool m_tracking = false;
};
