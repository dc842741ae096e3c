#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestra {

class CKSTDoc;

// "FPGA Flow Settings": the project's target, target frequency, constraint file and test bench,
// the root item's parameters the open toolchain's flow reads. The values are read on opening;
// OK writes all four, a file inside the project's folder relative to it, and closes only when the
// project takes every one. A refused value leaves the project as it was and the dialog open with
// the reason shown.
class CFlowSettingsDialog : public QDialog {
    Q_OBJECT

public:
    // Asks the user for a file; an empty text when none was chosen.
    using FileChooser = std::function<QString(const QString& title, const QString& filter)>;

    CFlowSettingsDialog(CKSTDoc& doc, FileChooser chooseFile, QWidget* parent = nullptr);

    QComboBox* TargetBox() const { return m_target; }
    QLineEdit* FrequencyField() const { return m_frequency; }
    QLineEdit* ConstraintsField() const { return m_constraints; }
    QPushButton* ConstraintsButton() const { return m_chooseConstraints; }
    QLineEdit* TestbenchField() const { return m_testbench; }
    QPushButton* TestbenchButton() const { return m_chooseTestbench; }
    // Why the last OK was refused; hidden until then.
    QLabel* RefusalLabel() const { return m_refusal; }

    // Writes the four values into the project; false, showing the reason, when one is refused.
    [[nodiscard]] bool Apply();
    void accept() override;

private:
    void LayOut();
    void ReadSettings();
    void ChooseInto(QLineEdit* field, const QString& title, const QString& filter);
    void ShowRefusal(const QString& reason);

    CKSTDoc& m_doc;
    FileChooser m_chooseFile;
    QComboBox* m_target;
    QLineEdit* m_frequency;
    QLineEdit* m_constraints;
    QPushButton* m_chooseConstraints;
    QLineEdit* m_testbench;
    QPushButton* m_chooseTestbench;
    QLabel* m_refusal;
};

} // namespace kestra
