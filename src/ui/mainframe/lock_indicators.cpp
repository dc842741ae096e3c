#include "mainframe/lock_indicators.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <memory>

namespace kestra {

namespace {

constexpr int kReadInterval = 500; // milliseconds
constexpr const char* kWords[] = {"CAPS", "NUM", "SCRL"};

} // namespace

CLockIndicators::CLockIndicators(QStatusBar& bar, ReadFunction read, QObject* parent)
    : QObject(parent), m_read(std::move(read)), m_timer(new QTimer(this)) {
    for (std::size_t lock = 0; lock < m_labels.size(); ++lock) {
        auto* label = new QLabel(&bar);
        const QString word = QString::fromLatin1(kWords[lock]);
        label->setObjectName(word + QStringLiteral(" lock"));
        label->setAlignment(Qt::AlignCenter);
        // As wide as its word when blank too, so that the others do not move.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(word) + 8);
        label->setVisible(false);
        bar.addPermanentWidget(label);
        m_labels[lock] = label;
    }
    if (!m_read)
        return;
    m_timer->setInterval(kReadInterval);
    connect(m_timer, &QTimer::timeout, this, &CLockIndicators::Update);
    m_timer->start();
    Update();
}

CLockIndicators::ReadFunction CLockIndicators::PlatformReader() {
    auto reader = std::make_shared<CKeyboardLockReader>();
    if (!reader->CanRead())
        return {};
    return [reader] { return reader->Read(); };
}

void CLockIndicators::Update() {
    const KeyboardLocks locks = m_read ? m_read() : KeyboardLocks{};
    const std::optional<bool> states[] = {locks.caps, locks.num, locks.scroll};
    for (std::size_t lock = 0; lock < m_labels.size(); ++lock) {
        QLabel* label = m_labels[lock];
        label->setVisible(states[lock].has_value());
        label->setText(states[lock].value_or(false) ? QString::fromLatin1(kWords[lock]) : QString());
    }
}

} // namespace kestra
