#include "strings/qt_text.h"
#include "support/project_fixture.h"
#include "tools/flow_settings_dialog.h"
#include "tools/fpga_flow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;

// The root item's value of the entry as the project file keeps it; "<none>" when it has none.
std::string StoredValue(CKSTDoc& doc, const std::string& name) {
    const CKSTObject& root = *doc.Tree().GetRootItem()->Object();
    for (int i = 1; i < root.GetEntryCount(); ++i) {
        if (root.GetEntryName(i) == name)
            return root.GetEntryValue(i);
    }
    return "<none>";
}

void PressOk(CFlowSettingsDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

class FlowSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SetFlowSetting(m_project.doc, kTargetEntry, "ice40 hx1k"));
        ASSERT_TRUE(SetFlowSetting(m_project.doc, kTargetFrequencyEntry, "12"));
        ASSERT_TRUE(SetFlowSetting(m_project.doc, kConstraintsEntry, "board/pins.pcf"));
        m_project.doc.SetModifiedFlag(false);
    }
    fs::path Folder() const { return fs::path(m_project.doc.GetPathName()).parent_path(); }

    test::ProjectFixture m_project;
};

TEST_F(FlowSettingsDialogTest, ShowsTheProjectsValuesAndOkWritesAllFour) {
    QString askedFilter;
    const fs::path bench = Folder() / "sim" / "top_tb.vhd";
    CFlowSettingsDialog dialog(m_project.doc, [&](const QString&, const QString& filter) {
        askedFilter = filter;
        return PathToQt(bench);
    });
    // The files whole, as the user would choose them.
    EXPECT_EQ(dialog.TargetBox()->currentText(), "iCE40 HX1K tq144");
    EXPECT_EQ(dialog.TargetBox()->itemText(0), "(none)");
    EXPECT_EQ(dialog.FrequencyField()->text(), "12");
    EXPECT_EQ(dialog.ConstraintsField()->text(), PathToQt(Folder() / "board" / "pins.pcf"));
    EXPECT_TRUE(dialog.TestbenchField()->text().isEmpty());

    dialog.TargetBox()->setCurrentIndex(dialog.TargetBox()->findText("iCE40 UP5K sg48"));
    dialog.FrequencyField()->setText(" 48 MHz ");
    dialog.ConstraintsField()->setText(QStringLiteral("/boards/up5k.pcf"));
    dialog.TestbenchButton()->click();
    EXPECT_EQ(askedFilter, "VHDL files (*.vhd *.vhdl);;All files (*)");
    EXPECT_EQ(dialog.TestbenchField()->text(), PathToQt(bench));
    PressOk(dialog);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(StoredValue(m_project.doc, "Target"), "iCE40 UP5K sg48");
    EXPECT_EQ(StoredValue(m_project.doc, "Target_frequency"), "48");
    EXPECT_EQ(StoredValue(m_project.doc, "Constraints"), "/boards/up5k.pcf");
    EXPECT_EQ(StoredValue(m_project.doc, "Testbench"), "sim/top_tb.vhd");
    EXPECT_TRUE(m_project.doc.IsModified());
}

TEST_F(FlowSettingsDialogTest, AFrequencyThatIsNoNumberIsRefusedAndChangesNothing) {
    CFlowSettingsDialog dialog(m_project.doc, [](const QString&, const QString&) { return QString(); });
    dialog.show();
    dialog.TargetBox()->setCurrentIndex(0);
    dialog.FrequencyField()->setText(QStringLiteral("fast"));
    dialog.TestbenchField()->setText(QStringLiteral("tb.vhd"));
    PressOk(dialog);

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.RefusalLabel()->isVisible());
    EXPECT_EQ(dialog.RefusalLabel()->text(), "The target frequency \"fast\" is no number of MHz above 0.");
    EXPECT_EQ(StoredValue(m_project.doc, "Target"), "iCE40 HX1K tq144");
    EXPECT_EQ(StoredValue(m_project.doc, "Target_frequency"), "12");
    EXPECT_EQ(StoredValue(m_project.doc, "Testbench"), "<none>");
    EXPECT_FALSE(m_project.doc.IsModified());

    // Put right, the same OK closes the dialog.
    dialog.FrequencyField()->setText(QStringLiteral("25"));
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.RefusalLabel()->isHidden());
    EXPECT_EQ(StoredValue(m_project.doc, "Target"), "");
    EXPECT_EQ(StoredValue(m_project.doc, "Testbench"), "tb.vhd");
}

} // namespace
} // namespace kestra
