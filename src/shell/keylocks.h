#pragma once
// The state of the Num Lock and Caps Lock keys, where the platform tells it.

namespace zelva {

struct KeyLocks {
    bool known = false; // false: the platform does not report the lock keys
    bool numLock = false;
    bool capsLock = false;
};

KeyLocks ReadKeyLocks();

} // namespace zelva
