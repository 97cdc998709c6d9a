#include "FakeUserInterface.h"

FakeUserInterface::FakeUserInterface() : m_previous(UserInterface::Install(this)) {}

FakeUserInterface::~FakeUserInterface()
{
    UserInterface::Install(m_previous);
}

int FakeUserInterface::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    int answer = DefaultAnswer(type);
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    boxes.push_back({text, caption, type, answer});
    if (onBox)
        onBox(text);
    return answer;
}

void FakeUserInterface::MessageBeep(unsigned type)
{
    beeps.push_back(type);
}

void FakeUserInterface::SetStatusText(const std::string& text)
{
    statusTexts.push_back(text);
    if (onStatus)
        onStatus(text);
}

void FakeUserInterface::BeginWaitCursor()
{
    ++waitDepth;
}

void FakeUserInterface::EndWaitCursor()
{
    if (waitDepth > 0)
        --waitDepth;
}
