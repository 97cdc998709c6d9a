#pragma once
// A pending calculation with the alternatives the kernel offered for it: the
// user commits one from the keyboard right after selecting a formula, from
// the view's context menu, or at once. Committing hands the calculation, with
// the chosen code and placement, to the view to perform.
#include "foundation/IntPoint.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAction;
class TCalculationAction;

struct ChoiceAlternative {
    int32_t value = 0;    // the kernel's calculation code
    std::string label;
    int32_t mode = 0;     // where the answer goes
};

// The view's side of a choice menu.
class ChoiceTarget {
public:
    virtual ~ChoiceTarget() = default;
    virtual bool PerformAction(TAction* action) = 0;
    // Opens the context menu, with the alternatives, at a point of the document.
    virtual void OpenChoicePopup(const IntPoint& point) { (void)point; }
};

class ChoiceMenu {
public:
    static constexpr int kMaxAlternatives = 16;
    static constexpr int kFirstCommand = 33000;
    static constexpr int kLastCommand = 34000;

    // Takes the action; keeps at most kMaxAlternatives alternatives.
    ChoiceMenu(TCalculationAction* action, std::vector<ChoiceAlternative> alternatives);
    virtual ~ChoiceMenu();
    ChoiceMenu(const ChoiceMenu&) = delete;
    ChoiceMenu& operator=(const ChoiceMenu&) = delete;

    virtual void Show(ChoiceTarget& view) { m_view = &view; }
    // True when the key was consumed (the view then does nothing else with it).
    virtual bool OnKey(int key, bool shift, bool ctrl);
    // A menu command 33000-34000: that alternative, its placement 0 becoming 7
    // with Shift or 5 with Ctrl.
    void OnChoose(int id, bool shift, bool ctrl);
    void Commit(int32_t value, int32_t mode);

    const std::vector<ChoiceAlternative>& Alternatives() const { return m_alternatives; }
    bool HasPendingAction() const { return m_action != nullptr; }

protected:
    std::unique_ptr<TCalculationAction> m_action;
    std::vector<ChoiceAlternative> m_alternatives;
    ChoiceTarget* m_view = nullptr;
};

// Opens the context menu at its point when shown.
class PopupChoiceMenu : public ChoiceMenu {
public:
    PopupChoiceMenu(TCalculationAction* action, std::vector<ChoiceAlternative> alternatives, const IntPoint& point);
    void Show(ChoiceTarget& view) override;

private:
    IntPoint m_point;
};

// Offered right after a formula is selected: Enter, line feed, "=" and space commit.
class KeyChoiceMenu : public ChoiceMenu {
public:
    using ChoiceMenu::ChoiceMenu;
    bool OnKey(int key, bool shift, bool ctrl) override;
};

// Commits the first alternative with its own placement as soon as it is shown.
class ImmediateChoice : public ChoiceMenu {
public:
    using ChoiceMenu::ChoiceMenu;
    void Show(ChoiceTarget& view) override;
};
