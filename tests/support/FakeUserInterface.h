#pragma once
// A user interface for tests: installs itself in place of the Qt one for its
// lifetime, records every message box, beep and status text, scripts the
// answers of message boxes, and tracks the wait cursor's depth.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/UserInterface.h"

class FakeUserInterface : public UserInterface {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
        int answer;
    };

    FakeUserInterface();
    ~FakeUserInterface() override;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void MessageBeep(unsigned type) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The answers of the next message boxes, in order; a box with no
    // scripted answer gets its default button.
    void ScriptAnswers(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }

    std::vector<Box> boxes;
    std::vector<unsigned> beeps;
    std::vector<std::string> statusTexts;
    // Run with every status text, and every message box's text, as it is shown.
    std::function<void(const std::string&)> onStatus;
    std::function<void(const std::string&)> onBox;
    int waitDepth = 0;

    std::string LastStatus() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }
    std::string LastBoxText() const { return boxes.empty() ? std::string() : boxes.back().text; }

private:
    std::deque<int> m_answers;
    UserInterface* m_previous;
};
