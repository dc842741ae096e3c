#include "editor/vhdl_editor_pane.h"

#include "editor/find_bar.h"
#include "editor/source_editor.h"
#include "strings/qt_text.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kestra {

CVhdlEditorPane::CVhdlEditorPane(QWidget* parent)
    : QWidget(parent), m_tabs(new QTabWidget(this)), m_findBar(new CFindBar(this)) {
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_tabs->setDocumentMode(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_findBar);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (OpenSource* source = Of(static_cast<CSourceEditor*>(m_tabs->widget(index))))
            emit closeRequested(source);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this] { m_findBar->SetEditor(Current() != nullptr ? Current()->editor : nullptr); });
}

CVhdlEditorPane::~CVhdlEditorPane() = default;

OpenSource& CVhdlEditorPane::Add(std::filesystem::path path, QString name, CProjectSession* session) {
    auto source = std::make_unique<OpenSource>();
    source->path = std::move(path);
    source->name = std::move(name);
    source->session = session;
    source->editor = new CSourceEditor(m_tabs);
    OpenSource& added = *source;
    m_sources.push_back(std::move(source));
    const int index = m_tabs->addTab(added.editor, added.name);
    m_tabs->setTabToolTip(index, PathToQt(added.path));
    connect(added.editor, &QsciScintilla::modificationChanged, this, [this, &added] { UpdateTitle(added); });
    m_tabs->setCurrentIndex(index);
    return added;
}

void CVhdlEditorPane::Remove(OpenSource& source) {
    const int index = m_tabs->indexOf(source.editor);
    m_tabs->removeTab(index);
    delete source.editor;
    std::erase_if(m_sources,
                  [&source](const std::unique_ptr<OpenSource>& held) { return held.get() == &source; });
    m_findBar->SetEditor(Current() != nullptr ? Current()->editor : nullptr);
}

OpenSource* CVhdlEditorPane::Find(const std::filesystem::path& path) const {
    const std::filesystem::path wanted = path.lexically_normal();
    for (const auto& source : m_sources) {
        if (source->path.lexically_normal() == wanted)
            return source.get();
    }
    return nullptr;
}

OpenSource* CVhdlEditorPane::Of(const CSourceEditor* editor) const {
    for (const auto& source : m_sources) {
        if (source->editor == editor)
            return source.get();
    }
    return nullptr;
}

OpenSource* CVhdlEditorPane::Current() const {
    return Of(static_cast<const CSourceEditor*>(m_tabs->currentWidget()));
}

void CVhdlEditorPane::MakeCurrent(const OpenSource& source) {
    m_tabs->setCurrentWidget(source.editor);
}

std::vector<OpenSource*> CVhdlEditorPane::Sources() const {
    std::vector<OpenSource*> sources;
    for (const auto& source : m_sources)
        sources.push_back(source.get());
    return sources;
}

void CVhdlEditorPane::UpdateTitle(const OpenSource& source) {
    const int index = m_tabs->indexOf(source.editor);
    if (index < 0)
        return;
    QString title = source.name;
    if (source.removed)
        title += QStringLiteral(" (removed)");
    if (source.editor->isModified())
        title += QStringLiteral(" *");
    m_tabs->setTabText(index, title);
    const QString path = PathToQt(source.path);
    m_tabs->setTabToolTip(index, source.removed
                                     ? path + QStringLiteral("\nThe file was removed or renamed by another "
                                                             "program: saving writes it again.")
                                     : path);
}

} // namespace kestra
