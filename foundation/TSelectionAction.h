#pragma once
// The base of the actions that work on a selection and may remove content
// they must put back on undo. It holds two records of removed content: one
// for content it moves elsewhere (UpdateSelection) and one for the content
// of the selection itself (KeepContent / RestoreContent).
#include "foundation/TAction.h"

class TSelectionAction : public TAction {
public:
    TSelectionAction(int16_t nameId, const DocSelection& selection);

    // Destroys removed content the action still owns.
    void Commit() override;

protected:
    // What a delete record holds: the removed fragment and where it stood.
    struct DeleteRecord {
        DocSelection content;
        DocPosition at;
    };

    // Removes the selection's content into the second record (kept); without
    // extent only records the selection's start there.
    void KeepContent();
    // Inserts kept content back where it stood.
    void RestoreContent();
    // Moves the working selection's content to the remembered position and
    // remembers where it came from, so that a second call moves it back.
    void UpdateSelection();

    DocSelection m_work;
    DocSelection m_selection;
    DeleteRecord m_moved;
    DeleteRecord m_removed;
    bool m_kept = false;
};
