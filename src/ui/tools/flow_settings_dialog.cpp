#include "tools/flow_settings_dialog.h"

#include "project/kst_doc.h"
#include "strings/qt_text.h"
#include "system/path_text.h"
#include "tools/fpga_flow.h"
#include "tools/fpga_targets.h"

#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kestra {

namespace {

std::filesystem::path ProjectFolder(const CKSTDoc& doc) {
    return std::filesystem::path(doc.GetPathName()).parent_path();
}

// The file as the project keeps it: relative to the project's folder when it is inside it,
// else whole. A relative text names a file in the project's folder.
std::string StoredPath(const std::filesystem::path& projectFolder, const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    return PathTextFrom(projectFolder, projectFolder / PathFromQt(trimmed));
}

QPushButton* ChooseButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setAutoDefault(false);
    button->setToolTip(QStringLiteral("Choose the file"));
    return button;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* FileRow(QLineEdit* field, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

} // namespace

CFlowSettingsDialog::CFlowSettingsDialog(CKSTDoc& doc, FileChooser chooseFile, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_chooseFile(std::move(chooseFile)), m_target(new QComboBox(this)),
      m_frequency(new QLineEdit(this)), m_constraints(new QLineEdit(this)),
      m_chooseConstraints(ChooseButton(this)), m_testbench(new QLineEdit(this)),
      m_chooseTestbench(ChooseButton(this)), m_refusal(new QLabel(this)) {
    setWindowTitle(QStringLiteral("FPGA Flow Settings"));
    m_target->setEditable(false);
    m_target->addItem(QStringLiteral("(none)"), QString());
    for (const std::string& choice : FpgaTargetChoices())
        m_target->addItem(TextToQt(choice), TextToQt(choice));
    m_frequency->setPlaceholderText(QStringLiteral("for example 48"));
    m_constraints->setMinimumWidth(320);
    QPalette palette = m_refusal->palette();
    palette.setColor(QPalette::WindowText, QColor(0xc0, 0x39, 0x2b));
    m_refusal->setPalette(palette);
    m_refusal->setWordWrap(true);
    m_refusal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_refusal->hide();
    LayOut();
    connect(m_chooseConstraints, &QPushButton::clicked, this, [this] {
        ChooseInto(m_constraints, QStringLiteral("Constraint File"),
                   QStringLiteral("Constraint files (*.pcf);;All files (*)"));
    });
    connect(m_chooseTestbench, &QPushButton::clicked, this, [this] {
        ChooseInto(m_testbench, QStringLiteral("Test Bench"),
                   QStringLiteral("VHDL files (*.vhd *.vhdl);;All files (*)"));
    });
    ReadSettings();
}

void CFlowSettingsDialog::LayOut() {
    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(QStringLiteral("&Target:"), m_target), m_target);
    form->addRow(BuddyLabel(QStringLiteral("Target &frequency (MHz):"), m_frequency), m_frequency);
    form->addRow(BuddyLabel(QStringLiteral("&Constraint file:"), m_constraints),
                 FileRow(m_constraints, m_chooseConstraints));
    form->addRow(BuddyLabel(QStringLiteral("Test &bench:"), m_testbench),
                 FileRow(m_testbench, m_chooseTestbench));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFlowSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_refusal);
    layout->addWidget(buttons);
}

void CFlowSettingsDialog::ReadSettings() {
    const FlowSettings settings = ReadFlowSettings(m_doc);
    if (!settings.target.empty()) {
        // The table's spelling of a target the project writes in another letter case or without
        // its package; a target the table lacks is kept as it is, for OK to refuse with the reason.
        const Result<FpgaTarget> known = ParseFpgaTarget(settings.target);
        const QString text = TextToQt(known ? known->Text() : settings.target);
        if (m_target->findData(text) < 0)
            m_target->addItem(text, text);
        m_target->setCurrentIndex(m_target->findData(text));
    }
    m_frequency->setText(TextToQt(settings.frequency));
    m_constraints->setText(PathToQt(settings.constraints));
    m_testbench->setText(PathToQt(settings.testbench));
}

void CFlowSettingsDialog::ChooseInto(QLineEdit* field, const QString& title, const QString& filter) {
    const QString chosen = m_chooseFile ? m_chooseFile(title, filter) : QString();
    if (!chosen.isEmpty())
        field->setText(chosen);
}

bool CFlowSettingsDialog::Apply() {
    const std::string target = TextFromQt(m_target->currentData().toString());
    if (!target.empty()) {
        const Result<FpgaTarget> known = ParseFpgaTarget(target);
        if (!known) {
            ShowRefusal(MessageToQt(known.Reason()));
            return false;
        }
    }
    // The target is checked and the files are never refused: the frequency, the one value typed
    // freely, goes first, so that a refusal leaves the project as it was.
    const std::filesystem::path folder = ProjectFolder(m_doc);
    const std::vector<std::pair<const char*, std::string>> values{
        {kTargetFrequencyEntry, TextFromQt(m_frequency->text())},
        {kTargetEntry, target},
        {kConstraintsEntry, StoredPath(folder, m_constraints->text())},
        {kTestbenchEntry, StoredPath(folder, m_testbench->text())},
    };
    for (const auto& [name, value] : values) {
        const Outcome written = SetFlowSetting(m_doc, name, value);
        if (!written) {
            ShowRefusal(MessageToQt(written.Reason()));
            return false;
        }
    }
    m_refusal->hide();
    return true;
}

void CFlowSettingsDialog::accept() {
    if (Apply())
        QDialog::accept();
}

void CFlowSettingsDialog::ShowRefusal(const QString& reason) {
    m_refusal->setText(reason);
    m_refusal->show();
}

} // namespace kestra
