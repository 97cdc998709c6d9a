#pragma once
// Whether Caps Lock, Num Lock and Scroll Lock are on. On an X display the
// server's keyboard indicators say so; elsewhere the locks read as off. A
// test puts a reader of its own in place.
#include <functional>

// The lock key's state for the virtual key VK_CAPITAL, VK_NUMLOCK or
// VK_SCROLL; false for any other key.
bool IsLockKeyOn(int vk);

using LockKeyReader = std::function<bool(int vk)>;
// Puts reader in place (an empty one restores the display's); answers the
// one it replaces.
LockKeyReader SetLockKeyReader(LockKeyReader reader);
