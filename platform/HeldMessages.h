#pragma once
// Messages that wait while a mouse gesture runs. A box opened inside a step
// of a gesture (a drawing's drag whose kernel stops) would open with the
// button still held: it takes the release, and the gesture goes on without
// one. While a hold lives, a message that only informs (an OK button alone)
// is answered OK at once and kept; when the hold ends, the implementation it
// replaced is put back and shows the kept messages in order. Questions,
// beeps, status texts and the wait cursor go through at once, and so does
// every call from a thread other than the one that made the hold.
#include "platform/UserInterface.h"

#include <string>
#include <thread>
#include <vector>

class HeldMessages : public UserInterface {
public:
    // Takes the place of the implementation in use.
    HeldMessages();
    // Ends the hold (see Release).
    ~HeldMessages() override;
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void MessageBeep(unsigned type) override { m_through.MessageBeep(type); }
    void SetStatusText(const std::string& text) override { m_through.SetStatusText(text); }
    void BeginWaitCursor() override { m_through.BeginWaitCursor(); }
    void EndWaitCursor() override { m_through.EndWaitCursor(); }

    // Puts back the implementation the hold replaced (unless another has
    // been installed since) and shows the kept messages through it; later
    // calls go straight through. Once only.
    void Release();

private:
    struct Message {
        std::string text;
        std::string caption;
        unsigned type;
    };

    UserInterface& m_through;
    UserInterface* m_replaced;
    std::thread::id m_thread;
    std::vector<Message> m_held;
    bool m_holding = true;
};
