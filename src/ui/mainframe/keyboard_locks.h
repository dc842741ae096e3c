#pragma once

#include <memory>
#include <optional>

namespace kestra {

// The keyboard's three locks; a lock whose state cannot be read is empty.
struct KeyboardLocks {
    std::optional<bool> caps;
    std::optional<bool> num;
    std::optional<bool> scroll;
};

// Reads the keyboard's lock states where the platform lets a program see them. Qt reports no
// lock states (its keyboard modifiers have none), so they come from the window system: on X11
// (Qt's xcb platform) from the indicators of the X keyboard extension, when the program was
// built with Xlib. Other platforms (Wayland, offscreen) give a program no way to read them:
// every lock is empty there.
class CKeyboardLockReader {
public:
    CKeyboardLockReader();
    ~CKeyboardLockReader();
    CKeyboardLockReader(const CKeyboardLockReader&) = delete;
    CKeyboardLockReader& operator=(const CKeyboardLockReader&) = delete;

    // Some lock can be read at all on this platform.
    bool CanRead() const;
    KeyboardLocks Read() const;

private:
    struct Indicators;
    std::unique_ptr<Indicators> m_indicators;
};

} // namespace kestra
