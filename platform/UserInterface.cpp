#include "platform/UserInterface.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<UserInterface*> installed{nullptr};
std::atomic<UserInterface*> defaultUi{nullptr};

// The default of a program without windows: no box shows, the default button answers.
class SilentUserInterface : public UserInterface {
public:
    int MessageBox(const std::string&, const std::string&, unsigned type) override { return DefaultAnswer(type); }
    void MessageBeep(unsigned) override {}
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

const std::vector<int>& Buttons(unsigned type)
{
    static const std::vector<int> ok{IDOK};
    static const std::vector<int> okCancel{IDOK, IDCANCEL};
    static const std::vector<int> abortRetryIgnore{IDABORT, IDRETRY, IDIGNORE};
    static const std::vector<int> yesNoCancel{IDYES, IDNO, IDCANCEL};
    static const std::vector<int> yesNo{IDYES, IDNO};
    static const std::vector<int> retryCancel{IDRETRY, IDCANCEL};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return okCancel;
    case MB_ABORTRETRYIGNORE: return abortRetryIgnore;
    case MB_YESNOCANCEL: return yesNoCancel;
    case MB_YESNO: return yesNo;
    case MB_RETRYCANCEL: return retryCancel;
    default: return ok;
    }
}

} // namespace

UserInterface& UserInterface::Current()
{
    if (UserInterface* ui = installed.load())
        return *ui;
    if (UserInterface* ui = defaultUi.load())
        return *ui;
    static SilentUserInterface silent;
    return silent;
}

void UserInterface::SetDefault(UserInterface* ui)
{
    defaultUi.store(ui);
}

UserInterface* UserInterface::Install(UserInterface* ui)
{
    return installed.exchange(ui);
}

int UserInterface::ButtonCount(unsigned type)
{
    return static_cast<int>(Buttons(type).size());
}

int UserInterface::ButtonAnswer(unsigned type, int index)
{
    const auto& buttons = Buttons(type);
    if (index < 0 || index >= static_cast<int>(buttons.size()))
        return 0;
    return buttons[static_cast<size_t>(index)];
}

int UserInterface::DefaultAnswer(unsigned type)
{
    int index = static_cast<int>((type & MB_DEFMASK) >> 8);
    if (index >= ButtonCount(type))
        index = 0;
    return ButtonAnswer(type, index);
}
