#pragma once

#include "mainframe/keyboard_locks.h"

#include <QObject>
#include <array>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace kestra {

// The status bar's CAPS, NUM and SCRL at its right end: each shows its word while its lock is
// on and stays blank while it is off. An indicator whose lock the platform does not let the
// program read is hidden (all three where no lock can be read: see CKeyboardLockReader); the
// others are read twice a second.
class CLockIndicators : public QObject {
    Q_OBJECT

public:
    using ReadFunction = std::function<KeyboardLocks()>;
    enum class Lock { Caps = 0, Num = 1, Scroll = 2 };

    // Nothing is read without `read`.
    CLockIndicators(QStatusBar& bar, ReadFunction read, QObject* parent = nullptr);
    // What the window system gives: empty where no lock can be read.
    static ReadFunction PlatformReader();

    QLabel* Indicator(Lock lock) const { return m_labels[static_cast<std::size_t>(lock)]; }
    // Reads the locks now and shows them.
    void Update();

private:
    ReadFunction m_read;
    std::array<QLabel*, 3> m_labels{};
    QTimer* m_timer;
};

} // namespace kestra
