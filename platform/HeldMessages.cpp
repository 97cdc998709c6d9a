#include "platform/HeldMessages.h"

#include <utility>

HeldMessages::HeldMessages()
    : m_through(UserInterface::Current()), m_replaced(UserInterface::Install(this)),
      m_thread(std::this_thread::get_id())
{
}

HeldMessages::~HeldMessages()
{
    Release();
}

int HeldMessages::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    if (!m_holding || (type & MB_TYPEMASK) != MB_OK || std::this_thread::get_id() != m_thread)
        return m_through.MessageBox(text, caption, type);
    m_held.push_back({text, caption, type});
    return IDOK;
}

void HeldMessages::Release()
{
    if (!m_holding)
        return;
    m_holding = false;
    // Another implementation installed meanwhile (a test's) stays in place.
    if (UserInterface* now = UserInterface::Install(m_replaced); now != this)
        UserInterface::Install(now);
    for (const Message& message : std::exchange(m_held, {}))
        m_through.MessageBox(message.text, message.caption, message.type);
}
