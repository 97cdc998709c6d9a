#include "app/ChoiceMenu.h"

#include "kernel/TCalculationAction.h"

namespace {

constexpr int kEnter = 13;
constexpr int kLineFeed = 10;
constexpr int kPlacementAfterEquals = Placement::kAfterEquals;
constexpr int kPlacementReplace = Placement::kReplaceParagraph;

} // namespace

ChoiceMenu::ChoiceMenu(TCalculationAction* action, std::vector<ChoiceAlternative> alternatives)
    : m_action(action), m_alternatives(std::move(alternatives))
{
    if (m_alternatives.size() > kMaxAlternatives)
        m_alternatives.resize(kMaxAlternatives);
}

ChoiceMenu::~ChoiceMenu() = default;

bool ChoiceMenu::OnKey(int, bool, bool)
{
    return false;
}

void ChoiceMenu::OnChoose(int id, bool shift, bool ctrl)
{
    const int index = id - kFirstCommand;
    if (id < kFirstCommand || id > kLastCommand || index >= static_cast<int>(m_alternatives.size()))
        return;
    const ChoiceAlternative& chosen = m_alternatives[static_cast<std::size_t>(index)];
    int32_t mode = chosen.mode;
    if (mode == 0)
        mode = shift ? kPlacementAfterEquals : ctrl ? kPlacementReplace : 0;
    Commit(chosen.value, mode);
}

void ChoiceMenu::Commit(int32_t value, int32_t mode)
{
    if (!m_action || !m_view)
        return;
    m_action->SetTarget(value, mode);
    // The menu gives the action up; the view owns it from here on.
    m_view->PerformAction(m_action.release());
}

PopupChoiceMenu::PopupChoiceMenu(TCalculationAction* action, std::vector<ChoiceAlternative> alternatives,
                                 const IntPoint& point)
    : ChoiceMenu(action, std::move(alternatives)), m_point(point)
{
}

void PopupChoiceMenu::Show(ChoiceTarget& view)
{
    ChoiceMenu::Show(view);
    view.OpenChoicePopup(m_point);
}

bool KeyChoiceMenu::OnKey(int key, bool shift, bool ctrl)
{
    if (m_alternatives.empty())
        return false;
    const ChoiceAlternative& first = m_alternatives.front();
    if ((key == kEnter || key == kLineFeed) && ctrl) {
        Commit(0, 0);
        return true;
    }
    if (key == kLineFeed || (key == kEnter && shift)) {
        Commit(first.value, first.mode);
        return true;
    }
    if (key == '=' && first.mode == 0) {
        Commit(first.value, kPlacementAfterEquals);
        return true;
    }
    if (key == ' ' && first.mode == 0) {
        Commit(first.value, kPlacementReplace);
        return true;
    }
    return false;
}

void ImmediateChoice::Show(ChoiceTarget& view)
{
    ChoiceMenu::Show(view);
    if (!m_alternatives.empty())
        Commit(m_alternatives.front().value, m_alternatives.front().mode);
}
