#include "tools/tool_settings_dialog.h"

#include "strings/qt_text.h"
#include "system/settings_store.h"
#include "tools/external_tools.h"
#include "tools/vhdl_check.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestra {

CToolSettingsDialog::CToolSettingsDialog(CSettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Tools Setting"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Path name")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Parameters")), 0, 3);
    int row = 1;
    for (const ExternalToolRow& tool : ExternalToolRows()) {
        auto* path = new QLineEdit(SettingToQt(settings.ReadSetting(kToolsSection, tool.programKey)));
        auto* parameters =
            new QLineEdit(SettingToQt(settings.ReadSetting(kToolsSection, tool.parametersKey)));
        path->setMinimumWidth(260);
        parameters->setMinimumWidth(220);
        auto* label = new QLabel(QString::fromLatin1(tool.title));
        label->setBuddy(path);
        auto* browse = new QToolButton;
        browse->setText(QStringLiteral("..."));
        browse->setToolTip(QStringLiteral("Choose the program"));
        const int index = row - 1;
        connect(browse, &QToolButton::clicked, this, [this, index] { BrowseProgram(index); });
        grid->addWidget(label, row, 0);
        grid->addWidget(path, row, 1);
        grid->addWidget(browse, row, 2);
        grid->addWidget(parameters, row, 3);
        m_paths << path;
        m_parameters << parameters;
        ++row;
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);

    auto* hint = new QLabel(QStringLiteral(
        "An empty path is looked for on PATH when the tool is first started. The project's link "
        "parameter of a tool (Synthesis, VHDL_simulation, ...) is appended to its parameters in double "
        "quotes."));
    hint->setWordWrap(true);
    m_check = new QCheckBox(
        QStringLiteral("&Check with VHDL analyser (ghdl or nvc on PATH) after Analyze and Generate"));
    m_check->setChecked(settings.ReadSetting(kToolsSection, kCheckSettingKey) != "0");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addWidget(m_check);
    layout->addWidget(buttons);
}

void CToolSettingsDialog::BrowseProgram(int row) {
    QLineEdit* field = m_paths.value(row);
    const QString current = field->text();
    const QString start = current.isEmpty() ? QStringLiteral("/usr/bin") : QFileInfo(current).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Select Application"), start);
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void CToolSettingsDialog::accept() {
    int row = 0;
    for (const ExternalToolRow& tool : ExternalToolRows()) {
        m_settings.WriteSetting(kToolsSection, tool.programKey, SettingFromQt(m_paths[row]->text()));
        m_settings.WriteSetting(kToolsSection, tool.parametersKey, SettingFromQt(m_parameters[row]->text()));
        ++row;
    }
    m_settings.WriteSetting(kToolsSection, kCheckSettingKey, m_check->isChecked() ? "1" : "0");
    QDialog::accept();
}

} // namespace kestra
