#include "projectframe/properties_dialog.h"

#include "strings/qt_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace kestra {

namespace {

// The level names are written for labels that read "&&" as one ampersand.
QString LevelLabel(int level) {
    return QString::fromLatin1(kAccessLevelNames[level]).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QLineEdit* ReadOnlyField(const std::string& text, QWidget* parent) {
    auto* field = new QLineEdit(MessageToQt(text), parent);
    field->setReadOnly(true);
    return field;
}

} // namespace

CPropertiesDialog::CPropertiesDialog(const ProjectProperties& properties, QWidget* parent)
    : QDialog(parent), m_slider(new QSlider(Qt::Horizontal, this)) {
    setWindowTitle(QStringLiteral("Properties"));
    auto* layout = new QGridLayout(this);

    auto* byField = ReadOnlyField(properties.creatorUser, this);
    auto* byLabel = new QLabel(QStringLiteral("Project created &by : "), this);
    byLabel->setBuddy(byField);
    auto* atField = ReadOnlyField(properties.creatorComputer, this);
    auto* atLabel = new QLabel(QStringLiteral("Project created &at : "), this);
    atLabel->setBuddy(atField);
    layout->addWidget(byLabel, 0, 0);
    layout->addWidget(byField, 0, 1, 1, 3);
    layout->addWidget(atLabel, 1, 0);
    layout->addWidget(atField, 1, 1, 1, 3);

    auto* accessLabel = new QLabel(QStringLiteral("Access &Permission : "), this);
    accessLabel->setBuddy(m_slider);
    constexpr int kLowest = static_cast<int>(AccessLevel::Any);
    constexpr int kHighest = static_cast<int>(AccessLevel::SameUserAndComputer);
    m_slider->setRange(kLowest, kHighest);
    m_slider->setPageStep(1);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_slider->setValue(static_cast<int>(properties.accessLevel));
    layout->addWidget(accessLabel, 2, 0);
    layout->addWidget(m_slider, 2, 1, 1, 3);
    for (int level = kLowest; level <= kHighest; ++level) {
        auto* label = new QLabel(LevelLabel(level), this);
        label->setTextFormat(Qt::PlainText);
        const Qt::Alignment alignment = level == kLowest   ? Qt::AlignLeft
                                        : level < kHighest ? Qt::AlignHCenter
                                                           : Qt::AlignRight;
        layout->addWidget(label, 3, 1 + level, alignment);
    }

    // The three level names stand under the slider's three positions.
    for (int column = 1; column <= 3; ++column)
        layout->setColumnStretch(column, 1);
    setMinimumWidth(460);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, 4, 0, 1, 4);
}

AccessLevel CPropertiesDialog::ChosenAccessLevel() const {
    return static_cast<AccessLevel>(m_slider->value());
}

} // namespace kestra
