#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;

namespace kestra {

class CSettingsStore;

// "Tools Setting": for each of the seven tools the program to start ("Path name") and its
// parameter text ("Parameters"), read from the "Tools" settings on opening; OK writes all
// fourteen values back, empty ones included, Cancel writes nothing. Below them, whether
// sources and generated files are checked with the VHDL analyser found on PATH.
class CToolSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CToolSettingsDialog(CSettingsStore& settings, QWidget* parent = nullptr);

    QLineEdit* PathField(int row) const { return m_paths.value(row); }
    QLineEdit* ParametersField(int row) const { return m_parameters.value(row); }
    QCheckBox* CheckBox() const { return m_check; }

    void accept() override;

private:
    void BrowseProgram(int row);

    CSettingsStore& m_settings;
    QList<QLineEdit*> m_paths;
    QList<QLineEdit*> m_parameters;
    QCheckBox* m_check = nullptr;
};

} // namespace kestra
