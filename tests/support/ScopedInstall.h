#pragma once
// Puts a hook, fake or global in place through its installer for one scope,
// and puts back what it replaced when the scope ends: also when an assertion
// returns early or an exception leaves the test, so that nothing installed
// outlives the locals it captures. The installer answers what it replaced
// (CDialog::SetModalHook, UserInterface::Install and the like).
#include <type_traits>
#include <utility>

template <class Value>
class ScopedInstall {
public:
    using Installer = Value (*)(Value);

    ScopedInstall(Installer install, std::type_identity_t<Value> value)
        : m_install(install), m_previous(install(std::move(value)))
    {}
    ~ScopedInstall() { m_install(std::move(m_previous)); }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

private:
    Installer m_install;
    Value m_previous;
};
