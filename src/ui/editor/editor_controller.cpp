#include "editor/editor_controller.h"

#include "commands/analysis_commands.h"
#include "desktop/desktop_shell.h"
#include "editor/find_bar.h"
#include "editor/source_editor.h"
#include "editor/vhdl_editor_pane.h"
#include "mainframe/dock_bars.h"
#include "mainframe/ui_context.h"
#include "operations/child_instantiation.h"
#include "operations/edited_source.h"
#include "operations/source_names.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "system/file_system.h"
#include "system/user_prompts.h"
#include "tools/vhdl_checker.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileSystemWatcher>
#include <QInputDialog>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

namespace kestra {

namespace {

void Tell(CUserPrompts& prompts, const std::string& text, PromptIcon icon = PromptIcon::Warning) {
    prompts.ShowMessage(kDefaultPromptTitle, text, icon);
}

// The editor takes the keys shown (CSourceEditor): they are written into the texts, not made
// shortcuts the window's own commands of the same keys would clash with.
const ActionSpec<CEditorActions> kEditorActions[] = {
    {&CEditorActions::find, {"&Find...\tCtrl+F", {}, "Find a text in the VHDL editor's source\nFind"}},
    {&CEditorActions::replace,
     {"R&eplace...\tCtrl+H", {}, "Replace a text in the VHDL editor's source\nReplace"}},
    {&CEditorActions::goToLine, {"&Go to Line...\tCtrl+G", {}, "Move to a line of the source\nGo to Line"}},
    {&CEditorActions::toggleComment,
     {"Toggle &Comment\tCtrl+/",
      {},
      "Comment out the selected lines, or take the comment away\nToggle Comment"}},
    {&CEditorActions::completeName,
     {"Complete &Name\tCtrl+Space",
      {},
      "List the names the module can use that begin with the word\nComplete Name"}},
    {&CEditorActions::openChildSource,
     {"&Open Child Source\tF2",
      {},
      "Open the source of the child module the word at the cursor names\nOpen Child Source"}},
    {&CEditorActions::insertInstantiation,
     {"Insert &Instantiation...",
      {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_I)},
      "Insert an instantiation of a child module at the cursor\nInsert Instantiation"}},
};

} // namespace

CEditorController::CEditorController(QWidget& frame, CDockBars& bars, const UiContext& ui,
                                     CProjectWindows& windows, std::function<void()> changed)
    : m_frame(frame), m_bars(bars), m_ui(ui), m_windows(windows),
      m_pane(new CVhdlEditorPane(bars.EditorBar())), m_watcher(new QFileSystemWatcher(this)),
      m_settle(new QTimer(this)), m_rules(std::move(changed)) {
    // A file is often written in steps (a new file renamed over the old): it is read once quiet.
    m_settle->setSingleShot(true);
    m_settle->setInterval(100);
    connect(m_settle, &QTimer::timeout, this, &CEditorController::OnFilesChanged);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_settle, qOverload<>(&QTimer::start));
    MakeActions(*m_pane, m_actions, std::span<const ActionSpec<CEditorActions>>(kEditorActions));
    MakeRules();
    connect(&m_pane->Tabs(), &QTabWidget::currentChanged, this, [this] { UpdateActions(); });
    bars.EditorBar()->setWidget(m_pane);
    m_ui.shell.SetBuiltInEditor(
        [this](const std::filesystem::path& path, int line) { return Open(path, line); });
    connect(&windows, &CProjectWindows::added, this, &CEditorController::OnProjectAdded);
    connect(m_pane, &CVhdlEditorPane::closeRequested, this, &CEditorController::OnCloseRequested);
    m_frame.installEventFilter(this);
}

void CEditorController::MakeRules() {
    // Insert Instantiation's key works where the editor has the focus.
    m_actions.insertInstantiation->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    const auto current = [this] { return m_pane->Current() != nullptr; };
    const auto writable = [this] { return WritableEditor() != nullptr; };
    m_rules.Add({
        {m_actions.find, [this] { m_pane->FindBar().Open(false); }, current},
        {m_actions.replace, [this] { m_pane->FindBar().Open(true); }, writable},
        {m_actions.goToLine, [this] { AskGoToLine(); }, current},
        {m_actions.toggleComment, [this] { WritableEditor()->ToggleComment(); }, writable},
        {m_actions.completeName, [this] { WritableEditor()->ShowCompletions(false); }, writable},
        // Whether the word names a child is known when the command runs: reading the architecture
        // at each update of the window's commands would cost too much in a large source.
        {m_actions.openChildSource, [this] { OpenChildSource(); },
         [this] {
             return m_pane->Current() != nullptr && !m_pane->Current()->editor->WordAtCursor().isEmpty();
         }},
        {m_actions.insertInstantiation, [this] { AskInsertInstantiation(); },
         [this] { return !CurrentModuleChildren().children.empty(); }},
    });
}

CEditorController::~CEditorController() {
    m_ui.shell.SetBuiltInEditor({});
}

void CEditorController::OnProjectAdded(C3SplitFrame* frame) {
    frame->installEventFilter(this);
    connect(frame, &C3SplitFrame::sourcesChangedOutside, this, [this, frame] { OnOutsideChanges(frame); });
    connect(
        &frame->Checker(), &CVhdlChecker::messagesChanged, this,
        [this, frame](const std::vector<std::filesystem::path>& files) { OnCheckMessages(frame, files); });
    connect(frame, &C3SplitFrame::sessionEnding, this, [this](CProjectSession* session) {
        for (OpenSource* source : m_pane->Sources()) {
            if (source->session == session)
                m_pane->Remove(*source);
        }
    });
}

C3SplitFrame* CEditorController::ProjectOf(const std::filesystem::path& path) const {
    QList<C3SplitFrame*> frames = m_windows.All();
    if (C3SplitFrame* active = m_windows.Active())
        frames.prepend(active);
    for (C3SplitFrame* frame : frames) {
        if (frame->Doc().IsLoaded() && !ModulesOfSource(frame->Doc(), path).empty())
            return frame;
    }
    return nullptr;
}

C3SplitFrame* CEditorController::FrameOf(const OpenSource& source) const {
    return source.session != nullptr ? m_windows.OfSession(source.session) : nullptr;
}

bool CEditorController::Open(const std::filesystem::path& path, int line) {
    OpenSource* source = m_pane->Find(path);
    if (source == nullptr) {
        Result<EditableSource> read = ReadSourceForEditing(path);
        if (!read) {
            Tell(m_ui.prompts,
                 WithReason("Cannot open " + path.string() + " in the VHDL editor.", read.Reason()));
            return false;
        }
        C3SplitFrame* project = ProjectOf(path);
        QString name = PathToQt(path.stem());
        if (project != nullptr)
            name = TextToQt(ModulesOfSource(project->Doc(), path).front()->Text());
        source = &m_pane->Add(path, name, project != nullptr ? &project->Session() : nullptr);
        source->diskText = read->text;
        source->editor->LoadBytes(read->text, read->lineEnds);
        source->editor->setReadOnly(read->readOnly);
        ShowCheckMessages(*source);
        Watch(*source);
        connect(source->editor, &CSourceEditor::saveRequested, this, [this, editor = source->editor] {
            if (OpenSource* saved = m_pane->Of(editor))
                static_cast<void>(Save(*saved)); // a failure was told to the user
        });
        connect(source->editor, &CSourceEditor::findRequested, &m_pane->FindBar(), &CFindBar::Open);
        connect(source->editor, &CSourceEditor::goToLineRequested, this, &CEditorController::AskGoToLine);
        connect(source->editor, &CSourceEditor::contextMenuShowing, this,
                &CEditorController::AddContextCommands);
        connect(source->editor, &CSourceEditor::childSourceRequested, this,
                &CEditorController::OpenChildSource);
        source->editor->SetCompletionSource(
            [this, editor = source->editor] { return CompletionNamesOf(editor); });
        if (read->readOnly)
            Tell(m_ui.prompts, path.string() +
                                   " holds NUL bytes, which VHDL text never has: it opens read-only, so that "
                                   "the editor never writes it.");
    }
    m_pane->MakeCurrent(*source);
    m_bars.EditorBar()->show();
    m_bars.EditorBar()->raise();
    if (line > 0)
        source->editor->GoToLine(line);
    else
        source->editor->setFocus();
    return true;
}

bool CEditorController::Save(OpenSource& source) {
    if (source.editor->isReadOnly())
        return false;
    const Result<std::string> onDisk = ReadWholeFile(source.path);
    if (onDisk && *onDisk != source.diskText &&
        !m_ui.prompts.AskYesNo(
            kDefaultPromptTitle,
            source.path.string() +
                " was changed by another program since it was opened. Overwrite it with the "
                "text of the VHDL editor?",
            PromptIcon::Warning, false))
        return false;
    std::string text = source.editor->Bytes();
    C3SplitFrame* project = FrameOf(source);
    const Outcome written =
        WriteEditedSource(project != nullptr ? &project->Doc() : nullptr, source.path, text);
    if (!written) {
        Tell(m_ui.prompts, WithReason("Cannot write " + source.path.string() + ".", written.Reason()));
        return false;
    }
    source.diskText = std::move(text);
    source.removed = false;
    source.editor->setModified(false);
    m_pane->UpdateTitle(source);
    Analyse(source);
    return true;
}

void CEditorController::Analyse(const OpenSource& source) {
    C3SplitFrame* project = FrameOf(source);
    if (project == nullptr)
        return;
    // As after another program's edit: what the analysis changes is the file's, so a project
    // without unsaved changes is saved at once and still has none.
    for (OpenSource* open : m_pane->Sources()) {
        if (open->session == source.session)
            open->namesStale = true; // the analysis may change what any of the project's modules sees
    }
    const bool hadChanges = project->Doc().IsModified();
    const std::vector<CHierarchyItem*> modules = ModulesOfSource(project->Doc(), source.path);
    if (!CAnalysisCommands(project->Session()).OnSourceSaved(source.path))
        return;
    if (!hadChanges && project->Doc().IsModified())
        static_cast<void>(project->Save()); // a failed save is reported by the project window
    emit project->commandStateChanged();
    // The modules of one file are one entity: the check of the first covers them.
    project->Checker().CheckAfter(CompletedWork{modules.front(), {}, false});
}

void CEditorController::OnOutsideChanges(C3SplitFrame* frame) {
    for (OpenSource* source : m_pane->Sources()) {
        if (source->session == &frame->Session()) {
            source->namesStale = true; // the changed sources were analysed again
            ReloadOrAsk(*source);
        }
    }
}

void CEditorController::Watch(const OpenSource& source) {
    // The folder too: a file renamed over the source, or the source made again, is seen there.
    for (const std::filesystem::path& path : {source.path, source.path.parent_path()}) {
        const QString name = PathToQt(path);
        std::error_code error;
        if (std::filesystem::exists(path, error) && !m_watcher->files().contains(name) &&
            !m_watcher->directories().contains(name))
            m_watcher->addPath(name);
    }
}

void CEditorController::OnFilesChanged() {
    for (OpenSource* source : m_pane->Sources()) {
        Watch(*source); // a file replaced by a rename is no longer watched
        ReloadOrAsk(*source);
    }
}

void CEditorController::ReloadOrAsk(OpenSource& source) {
    std::error_code error;
    const bool removed = !std::filesystem::exists(source.path, error);
    if (removed != source.removed) {
        source.removed = removed; // it stays open: saving writes it again
        m_pane->UpdateTitle(source);
    }
    Result<std::string> onDisk = ReadWholeFile(source.path);
    if (!onDisk || *onDisk == source.diskText)
        return;
    if (!source.editor->isModified()) {
        Reload(source, std::move(*onDisk));
        return;
    }
    const PromptAnswer answer = m_ui.prompts.AskYesNoCancel(
        kDefaultPromptTitle,
        source.path.string() +
            " was changed on disk, by another program or by a command of KESTRA.\n\nThe VHDL editor has "
            "changes of its own that are not saved. Reload the file as it is now (the changes made here are "
            "lost), or keep the changes made here?",
        "&Reload", "&Keep Mine");
    if (answer == PromptAnswer::Yes)
        Reload(source, std::move(*onDisk));
    else
        source.diskText = std::move(*onDisk); // kept: a save overwrites what the user has seen
}

void CEditorController::Reload(OpenSource& source, std::string text) {
    int line = 0, index = 0;
    source.editor->getCursorPosition(&line, &index);
    source.editor->LoadBytes(text, LineEndsOf(text));
    source.editor->setReadOnly(text.find('\0') != std::string::npos);
    source.diskText = std::move(text);
    source.namesStale = true; // the new text may declare other signals
    source.editor->setCursorPosition(line, index);
    // Loading the text dropped the markers: those of the last check stand at its lines.
    ShowCheckMessages(source);
}

void CEditorController::ShowCheckMessages(const OpenSource& source) {
    const C3SplitFrame* project = FrameOf(source);
    source.editor->ShowCheckMessages(project != nullptr
                                         ? project->Checker().Messages().MessagesOf(source.path)
                                         : std::vector<CheckMessage>{});
}

void CEditorController::OnCheckMessages(const C3SplitFrame* frame,
                                        const std::vector<std::filesystem::path>& files) {
    // Only the files the check analysed: the markers of the others have moved with their edits.
    for (const std::filesystem::path& file : files) {
        OpenSource* source = m_pane->Find(file);
        if (source != nullptr && FrameOf(*source) == frame)
            ShowCheckMessages(*source);
    }
}

void CEditorController::OnCloseRequested(OpenSource* source) {
    if (source->editor->isModified()) {
        const PromptAnswer answer = m_ui.prompts.AskYesNoCancel(
            kDefaultPromptTitle, "Save the changes to " + source->path.string() + "?", "&Save", "&Discard");
        if (answer == PromptAnswer::Cancel || (answer == PromptAnswer::Yes && !Save(*source)))
            return;
    }
    m_pane->Remove(*source);
}

void CEditorController::AskGoToLine() {
    OpenSource* source = m_pane->Current();
    if (source == nullptr)
        return;
    QInputDialog dialog(&m_frame);
    dialog.setWindowTitle(QStringLiteral("Go to Line"));
    dialog.setLabelText(QStringLiteral("&Line (1 to %1):").arg(source->editor->lines()));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, std::max(source->editor->lines(), 1));
    int line = 0, index = 0;
    source->editor->getCursorPosition(&line, &index);
    dialog.setIntValue(line + 1);
    if (m_ui.ExecDialog(dialog) == QDialog::Accepted)
        source->editor->GoToLine(dialog.intValue());
}

CEditorController::ModuleChildren CEditorController::CurrentModuleChildren() const {
    const OpenSource* source = m_pane->Current();
    C3SplitFrame* project = source != nullptr ? FrameOf(*source) : nullptr;
    if (project == nullptr || source->editor->isReadOnly())
        return {};
    const std::vector<CHierarchyItem*> modules = ModulesOfSource(project->Doc(), source->path);
    if (modules.empty())
        return {};
    return ModuleChildren{modules.front(), InstantiableChildren(*modules.front())};
}

void CEditorController::AddContextCommands(QMenu& menu) {
    UpdateActions();
    menu.addSeparator();
    AddMenuActions(menu, m_actions.List());
}

CSourceEditor* CEditorController::WritableEditor() const {
    const OpenSource* source = m_pane->Current();
    return source != nullptr && !source->editor->isReadOnly() ? source->editor : nullptr;
}

std::vector<std::string> CEditorController::CompletionNamesOf(const CSourceEditor* editor) const {
    OpenSource* source = m_pane->Of(editor);
    C3SplitFrame* project = source != nullptr ? FrameOf(*source) : nullptr;
    if (project == nullptr)
        return {};
    if (source->namesStale) {
        const std::vector<CHierarchyItem*> modules = ModulesOfSource(project->Doc(), source->path);
        source->names = modules.empty() ? std::vector<std::string>{}
                                        : CompletionNames(project->Doc(), *modules.front(), editor->Bytes());
        source->namesStale = false;
    }
    return source->names;
}

const CHierarchyItem* CEditorController::ChildAtCursor() const {
    const OpenSource* source = m_pane->Current();
    C3SplitFrame* project = source != nullptr ? FrameOf(*source) : nullptr;
    if (project == nullptr)
        return nullptr;
    const std::vector<CHierarchyItem*> modules = ModulesOfSource(project->Doc(), source->path);
    const std::string word = TextFromQt(source->editor->WordAtCursor());
    return modules.empty() || word.empty() ? nullptr
                                           : ChildNamedBy(*modules.front(), source->editor->Bytes(), word);
}

void CEditorController::OpenChildSource() {
    const OpenSource* source = m_pane->Current();
    C3SplitFrame* project = source != nullptr ? FrameOf(*source) : nullptr;
    if (project == nullptr)
        return;
    const CHierarchyItem* child = ChildAtCursor();
    if (child == nullptr) {
        const std::string word = TextFromQt(source->editor->WordAtCursor());
        project->Session().Observer().ShowStatus(word.empty() ? "The cursor stands in no name."
                                                              : word + " names no child module or instance.");
        return;
    }
    static_cast<void>(Open(project->Doc().ModuleSourcePath(*child), 0)); // a failure was told to the user
}

void CEditorController::AskInsertInstantiation() {
    OpenSource* source = m_pane->Current();
    const ModuleChildren found = CurrentModuleChildren();
    if (source == nullptr || found.children.empty())
        return;
    QStringList names;
    for (const CHierarchyItem* child : found.children)
        names << TextToQt(child->Text());
    QInputDialog dialog(&m_frame);
    dialog.setWindowTitle(QStringLiteral("Insert Instantiation"));
    dialog.setLabelText(QStringLiteral("&Child module of %1:").arg(TextToQt(found.module->Text())));
    dialog.setComboBoxItems(names);
    dialog.setComboBoxEditable(false);
    if (m_ui.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const qsizetype chosen = names.indexOf(dialog.textValue());
    if (chosen >= 0)
        InsertInstantiation(*source, *found.module, *found.children[static_cast<std::size_t>(chosen)]);
}

void CEditorController::InsertInstantiation(OpenSource& source, const CHierarchyItem& parent,
                                            const CHierarchyItem& child) {
    C3SplitFrame* project = FrameOf(source);
    if (project == nullptr)
        return;
    int line = 0, index = 0;
    source.editor->getCursorPosition(&line, &index);
    const std::string lineText = TextFromQt(source.editor->text(line));
    const std::string indent = lineText.substr(0, lineText.find_first_not_of(" \t"));
    const char* lineEnd = source.editor->eolMode() == QsciScintilla::EolWindows ? "\r\n" : "\n";
    const Result<std::string> text =
        ChildInstantiationText(project->Doc(), parent, child, source.editor->Bytes(), lineEnd, indent);
    if (!text) {
        Tell(m_ui.prompts,
             WithReason("Cannot insert an instantiation of " + child.Text() + ".", text.Reason()));
        return;
    }
    source.editor->InsertBytes(*text);
    source.editor->setFocus();
}

std::vector<OpenSource*> CEditorController::Modified(const C3SplitFrame* project) const {
    std::vector<OpenSource*> modified;
    for (OpenSource* source : m_pane->Sources()) {
        if (source->editor->isModified() && (project == nullptr || FrameOf(*source) == project))
            modified.push_back(source);
    }
    return modified;
}

bool CEditorController::AskToSaveChanges(const C3SplitFrame* project) {
    const std::vector<OpenSource*> modified = Modified(project);
    if (modified.empty())
        return true;
    std::string names;
    for (const OpenSource* source : modified)
        names += "\n" + source->path.string();
    const PromptAnswer answer = m_ui.prompts.AskYesNoCancel(
        kDefaultPromptTitle, "The VHDL editor has unsaved changes to:" + names + "\n\nSave them?", "&Save",
        "&Discard");
    if (answer == PromptAnswer::Cancel)
        return false;
    for (OpenSource* source : modified) {
        if (answer == PromptAnswer::Yes && !Save(*source))
            return false;
        if (answer == PromptAnswer::No)
            m_pane->Remove(*source);
    }
    return true;
}

bool CEditorController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close)
        return false;
    const auto* project = qobject_cast<const C3SplitFrame*>(watched);
    if (project != nullptr && project->IsClosing())
        return false;
    if (AskToSaveChanges(project))
        return false;
    event->ignore();
    return true;
}

} // namespace kestra
