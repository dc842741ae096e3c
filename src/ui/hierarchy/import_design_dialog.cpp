#include "hierarchy/import_design_dialog.h"

#include "strings/qt_text.h"
#include "text/char_class.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace kestra {

namespace {

const char* const kEveryTopText = "(each entity no other instantiates)";
const char* const kNothingChosenText = "Add the design's VHDL files, or the folders that hold them.";

QString Count(std::size_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

QString SummaryText(const DesignImportPreview& preview) {
    if (!preview.CanImport())
        return MessageToQt(preview.refusal).toHtmlEscaped();
    QString text =
        Count(preview.files.size(), "file", "files") + QStringLiteral(", ") +
        Count(preview.plan.entities.size(), "entity", "entities") + QStringLiteral(", ") +
        Count(preview.plan.packages.size(), "package", "packages") + QStringLiteral("; the import adds ") +
        Count(static_cast<std::size_t>(preview.moduleCount), "module", "modules") + QStringLiteral(".");
    QStringList tops;
    for (const std::string& top : preview.plan.tops)
        tops << QStringLiteral("<b>%1</b>").arg(TextToQt(top).toHtmlEscaped());
    if (!tops.isEmpty())
        text += QStringLiteral("<br>") +
                (tops.size() == 1 ? QStringLiteral("Top: ") : QStringLiteral("Tops: ")) +
                tops.join(QStringLiteral(", "));
    return text;
}

// "file.vhd:12: message", the file by its name alone (its whole path in the tool tip).
QListWidgetItem* ProblemItem(const ImportProblem& problem, const QStyle& style) {
    QString where;
    if (!problem.file.empty()) {
        where = PathToQt(std::filesystem::path(problem.file).filename());
        if (problem.line > 0)
            where += QStringLiteral(":%1").arg(problem.line);
        where += QStringLiteral(": ");
    }
    const bool error = problem.severity == ImportSeverity::Error;
    auto* item = new QListWidgetItem(
        style.standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning),
        where + MessageToQt(problem.message));
    if (!problem.file.empty())
        item->setToolTip(PathToQt(problem.file));
    return item;
}

// The entities the files declare, each name once, in alphabetical order.
std::vector<std::string> EntityNames(const DesignImportPlan& plan) {
    std::vector<std::string> names;
    for (const PlannedEntity& entity : plan.entities) {
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& name) { return SameTextNoCase(name, entity.name); }))
            names.push_back(entity.name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return TextToQt(a).compare(TextToQt(b), Qt::CaseInsensitive) < 0;
    });
    return names;
}

} // namespace

CImportDesignDialog::CImportDesignDialog(std::filesystem::path startFolder, QWidget* parent)
    : QDialog(parent), m_startFolder(std::move(startFolder)), m_pathList(new QListWidget(this)),
      m_addFiles(new QPushButton(QStringLiteral("Add &Files..."), this)),
      m_addFolder(new QPushButton(QStringLiteral("Add F&older..."), this)),
      m_remove(new QPushButton(QStringLiteral("&Remove"), this)), m_topBox(new QComboBox(this)),
      m_summary(new QLabel(this)), m_problemsLabel(new QLabel(this)), m_problemList(new QListWidget(this)),
      m_import(new QPushButton(QStringLiteral("&Import"), this)) {
    setWindowTitle(QStringLiteral("Import VHDL Design"));
    m_preview.refusal = kNothingChosenText;
    m_pathList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_topBox->addItem(QString::fromLatin1(kEveryTopText), QString());
    m_topBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_summary->setTextFormat(Qt::RichText);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problemList->setSelectionMode(QAbstractItemView::NoSelection);
    m_problemList->setWordWrap(true);
    m_problemList->setIconSize(QSize(16, 16));
    LayOut();
    connect(m_addFiles, &QPushButton::clicked, this, &CImportDesignDialog::OnAddFiles);
    connect(m_addFolder, &QPushButton::clicked, this, &CImportDesignDialog::OnAddFolder);
    connect(m_remove, &QPushButton::clicked, this, &CImportDesignDialog::OnRemove);
    connect(m_pathList, &QListWidget::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(!m_pathList->selectedItems().isEmpty()); });
    connect(m_topBox, &QComboBox::activated, this, &CImportDesignDialog::UpdatePreview);
    ShowPreview();
}

CImportDesignDialog::~CImportDesignDialog() = default;

void CImportDesignDialog::LayOut() {
    auto* layout = new QVBoxLayout(this);
    auto* pathsLabel = new QLabel(QStringLiteral("Files and fol&ders of the design:"), this);
    pathsLabel->setBuddy(m_pathList);
    layout->addWidget(pathsLabel);
    auto* pathsRow = new QHBoxLayout;
    pathsRow->addWidget(m_pathList, 1);
    auto* pathButtons = new QVBoxLayout;
    for (QPushButton* button : {m_addFiles, m_addFolder, m_remove}) {
        button->setAutoDefault(false);
        pathButtons->addWidget(button);
    }
    pathButtons->addStretch(1);
    pathsRow->addLayout(pathButtons);
    layout->addLayout(pathsRow, 2);

    auto* topRow = new QHBoxLayout;
    auto* topLabel = new QLabel(QStringLiteral("&Top entity:"), this);
    topLabel->setBuddy(m_topBox);
    topRow->addWidget(topLabel);
    topRow->addWidget(m_topBox, 1);
    layout->addLayout(topRow);

    auto* preview = new QGroupBox(QStringLiteral("Preview"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(m_summary);
    previewLayout->addWidget(m_problemsLabel);
    previewLayout->addWidget(m_problemList, 1);
    layout->addWidget(preview, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(m_import, QDialogButtonBox::AcceptRole);
    m_import->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(620, 520);
}

void CImportDesignDialog::AddPaths(const std::vector<std::filesystem::path>& paths) {
    bool added = false;
    for (const std::filesystem::path& path : paths) {
        if (path.empty() || std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end())
            continue;
        m_paths.push_back(path);
        m_pathList->addItem(PathToQt(path));
        added = true;
    }
    if (added)
        UpdatePreview();
}

void CImportDesignDialog::OnAddFiles() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, QStringLiteral("Add VHDL Files"), PathToQt(m_startFolder),
                                      QStringLiteral("VHDL files (*.vhd *.vhdl)"));
    std::vector<std::filesystem::path> paths;
    for (const QString& file : files)
        paths.push_back(PathFromQt(file));
    if (!paths.empty())
        m_startFolder = paths.back().parent_path();
    AddPaths(paths);
}

void CImportDesignDialog::OnAddFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Add Folder"), PathToQt(m_startFolder));
    if (folder.isEmpty())
        return;
    m_startFolder = PathFromQt(folder);
    AddPaths({m_startFolder});
}

void CImportDesignDialog::OnRemove() {
    for (int row = m_pathList->count() - 1; row >= 0; --row) {
        if (!m_pathList->item(row)->isSelected())
            continue;
        delete m_pathList->takeItem(row);
        m_paths.erase(m_paths.begin() + row);
    }
    UpdatePreview();
}

std::string CImportDesignDialog::ChosenTop() const {
    return TextFromQt(m_topBox->currentData().toString());
}

void CImportDesignDialog::UpdatePreview() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_paths.empty()) {
        m_preview = DesignImportPreview();
        m_preview.refusal = kNothingChosenText;
    } else {
        m_preview = PreviewDesignImport(DesignImportRequest{m_paths, ChosenTop()});
        // The chosen top went with the files that declared it: every top is proposed again.
        if (!ChosenTop().empty() && m_preview.plan.FindEntity(ChosenTop()) == nullptr) {
            m_topBox->setCurrentIndex(0);
            m_preview = PreviewDesignImport(DesignImportRequest{m_paths, {}});
        }
    }
    QApplication::restoreOverrideCursor();
    FillTopBox();
    ShowPreview();
}

void CImportDesignDialog::FillTopBox() {
    const std::string chosen = ChosenTop();
    m_topBox->clear();
    m_topBox->addItem(QString::fromLatin1(kEveryTopText), QString());
    for (const std::string& name : EntityNames(m_preview.plan)) {
        m_topBox->addItem(TextToQt(name), TextToQt(name));
        if (!chosen.empty() && SameTextNoCase(name, chosen))
            m_topBox->setCurrentIndex(m_topBox->count() - 1);
    }
}

void CImportDesignDialog::ShowPreview() {
    m_summary->setText(SummaryText(m_preview));
    m_import->setEnabled(m_preview.CanImport());
    m_remove->setEnabled(!m_pathList->selectedItems().isEmpty());
    ShowProblems();
}

void CImportDesignDialog::ShowProblems() {
    m_problemList->clear();
    for (const ImportProblem& problem : m_preview.problems)
        m_problemList->addItem(ProblemItem(problem, *style()));
    const std::size_t count = m_preview.problems.size();
    if (m_paths.empty())
        m_problemsLabel->clear();
    else
        m_problemsLabel->setText(count == 0 ? QStringLiteral("No problems found.")
                                            : Count(count, "problem", "problems") + QStringLiteral(":"));
}

} // namespace kestra
