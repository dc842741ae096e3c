#include "mainframe/keyboard_locks.h"

#include <QGuiApplication>

#if KESTRA_HAVE_XKB && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define KESTRA_READS_XKB 1
#else
#define KESTRA_READS_XKB 0
#endif

namespace kestra {

#if KESTRA_READS_XKB

// The display Qt draws on and the bit of each lock's indicator in the keyboard's indicator
// state; the bits are the keyboard map's, found by the indicators' names.
struct CKeyboardLockReader::Indicators {
    Display* display = nullptr;
    std::optional<unsigned> caps;
    std::optional<unsigned> num;
    std::optional<unsigned> scroll;
};

namespace {

Display* QtDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

std::optional<unsigned> IndicatorBit(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    int index = -1;
    if (atom == None || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) ||
        index < 0 || index >= XkbNumIndicators)
        return std::nullopt;
    return 1u << index;
}

std::optional<bool> IsLit(const std::optional<unsigned>& bit, unsigned state) {
    return bit ? std::optional<bool>((state & *bit) != 0) : std::nullopt;
}

} // namespace

CKeyboardLockReader::CKeyboardLockReader() {
    Display* display = QtDisplay();
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr || !XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return;
    m_indicators = std::make_unique<Indicators>(Indicators{display, IndicatorBit(display, "Caps Lock"),
                                                           IndicatorBit(display, "Num Lock"),
                                                           IndicatorBit(display, "Scroll Lock")});
}

KeyboardLocks CKeyboardLockReader::Read() const {
    unsigned state = 0;
    if (!CanRead() || XkbGetIndicatorState(m_indicators->display, XkbUseCoreKbd, &state) != Success)
        return {};
    return {IsLit(m_indicators->caps, state), IsLit(m_indicators->num, state),
            IsLit(m_indicators->scroll, state)};
}

bool CKeyboardLockReader::CanRead() const {
    return m_indicators != nullptr && (m_indicators->caps || m_indicators->num || m_indicators->scroll);
}

#else

struct CKeyboardLockReader::Indicators {};

CKeyboardLockReader::CKeyboardLockReader() = default;

KeyboardLocks CKeyboardLockReader::Read() const {
    return {};
}

bool CKeyboardLockReader::CanRead() const {
    return false;
}

#endif

CKeyboardLockReader::~CKeyboardLockReader() = default;

} // namespace kestra
