// The parameter list's commands: invoking a cell by its row's kind, adding, removing, moving,
// the parameter clipboard, Copy View and printing. The core's parameter commands do the work.
#include "desktop/desktop_shell.h"
#include "mainframe/ui_context.h"
#include "model/design_object.h"
#include "paramlist/kst_list_view.h"
#include "paramlist/parameter_delegate.h"
#include "project/hierarchy_item.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "strings/qt_text.h"
#include "system/file_system.h"
#include "system/user_prompts.h"
#include "tools/link_open.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QTimer>

namespace kestra {

namespace {

QString ParameterFormat() {
    return QString::fromLatin1(kParameterClipboardFormat);
}

// The text travels NUL-terminated, as other programs reading the format expect.
void PutOnClipboard(const std::string& text) {
    auto* mime = new QMimeData();
    mime->setData(ParameterFormat(), QByteArray(text.data(), static_cast<qsizetype>(text.size() + 1)));
    QApplication::clipboard()->setMimeData(mime);
}

} // namespace

void CKSTListView::Invoke(int row, int column, bool force) {
    CKSTObject* object = Object();
    if (object == nullptr || row < 0 || row >= model()->rowCount() || Editor() != nullptr)
        return;
    switch (InvokeAction(*object, row, column, force)) {
    case ParameterAction::TextEditor:
        OpenEditor(row, column);
        break;
    case ParameterAction::ChoiceBox:
        OpenChoiceBox(row);
        break;
    case ParameterAction::HdlEditor:
        if (!m_sourcePath.empty())
            m_ui.shell.EditSource(m_ui.settings, m_ui.prompts, m_sourcePath, m_doc.GetProjectFolder());
        break;
    case ParameterAction::FolderChooser:
        if (m_parameters.OnChooseDestinationFolder(row))
            SelectRow(row);
        break;
    case ParameterAction::OpenLink:
        OpenLink(row);
        break;
    case ParameterAction::None:
        break;
    }
}

void CKSTListView::OpenEditor(int row, int column) {
    SelectRow(row);
    m_delegate->PrepareTextEditor();
    edit(model()->index(row, column));
}

void CKSTListView::OpenChoiceBox(int row) {
    const CKSTObject* object = Object();
    QStringList choices;
    for (const std::string& choice : object->GetChoiceList(row))
        choices << TextToQt(choice);
    SelectRow(row);
    m_delegate->PrepareChoiceBox(choices,
                                 static_cast<int>(choices.indexOf(TextToQt(object->GetEntryValue(row)))));
    edit(model()->index(row, 1));
}

void CKSTListView::OnCellEdited(int row, int column, const QString& text) {
    // The edit belongs to the item shown when it was made, whichever is selected by now; the
    // list may be rebuilt only after the editor has gone.
    if (m_item == nullptr || m_object == nullptr)
        return;
    m_pendingEdits.push_back(PendingEdit{m_item, m_object, row, column, TextFromQt(text)});
    QTimer::singleShot(0, this, &CKSTListView::ApplyPendingEdits);
}

void CKSTListView::ApplyPendingEdits() {
    std::vector<PendingEdit> edits;
    edits.swap(m_pendingEdits);
    for (const PendingEdit& edit : edits) {
        // The item may have gone in the meantime.
        const CHierarchyTree& tree = m_doc.Tree();
        const CHierarchyItem* found = tree.GetRootItem();
        while (found != nullptr && found != edit.item)
            found = tree.NextItem(found);
        if (found == nullptr || edit.item->Object() != edit.object)
            continue;
        m_parameters.EndParameterEdit(edit.item, edit.row, edit.column, edit.text);
        if (Item() == edit.item)
            SelectRow(edit.row);
    }
}

void CKSTListView::OpenLink(int row) {
    const std::filesystem::path folder = m_parameters.LinkFolder();
    const LinkOpening opening = DecideLinkOpening(m_ui.settings, folder, Object()->GetEntryValue(row));
    switch (opening.kind) {
    case LinkOpening::Kind::ChooseFile:
        ChooseLinkFile(row);
        break;
    case LinkOpening::Kind::StateEditor:
        if (!m_ui.shell.StartProgram(TextToQt(opening.launch.program),
                                     QProcess::splitCommand(TextToQt(opening.launch.parameters)), folder))
            m_ui.prompts.ShowMessage(kDefaultPromptTitle,
                                     "Cannot start the state editor " + opening.launch.program +
                                         ".\nCheck the State Editor in the Tools Setting dialog.",
                                     PromptIcon::Warning);
        break;
    case LinkOpening::Kind::Address:
        m_ui.shell.OpenAddressOrExplain(m_ui.prompts, TextToQt(opening.target));
        break;
    case LinkOpening::Kind::File:
        // A link whose file is gone is chosen again; a file the desktop has no program for is
        // reported.
        if (!FileExists(opening.target))
            ChooseLinkFile(row);
        else
            m_ui.shell.OpenDocumentOrExplain(m_ui.prompts, opening.target);
        break;
    }
}

void CKSTListView::ChooseLinkFile(int row) {
    if (m_parameters.OnChooseLinkFile(row))
        SelectRow(row);
}

void CKSTListView::OnAddParameter(EntryKind kind) {
    if (Object() == nullptr)
        return;
    const int added = m_parameters.OnAdd(kind, FocusedRow());
    if (added >= 0)
        SelectRow(added);
}

bool CKSTListView::CanRemove() const {
    const int row = FocusedRow();
    return Object() != nullptr && row >= 0 && selectionModel()->isSelected(currentIndex()) &&
           CanRemoveParameter(row, Object()->GetEntryKind(row));
}

void CKSTListView::OnRemove() {
    if (!CanRemove())
        return;
    const int next = m_parameters.OnRemove(FocusedRow());
    if (next >= 0)
        SelectRow(next);
}

bool CKSTListView::CanCutOrCopy() const {
    const int row = FocusedRow();
    return Object() != nullptr && row >= 0 && CanCopyParameterKind(Object()->GetEntryKind(row));
}

void CKSTListView::OnCopy() {
    if (!CanCutOrCopy())
        return;
    PutOnClipboard(m_parameters.CopyText(FocusedRow()));
}

void CKSTListView::OnCut() {
    if (!CanCutOrCopy() || !CanRemove())
        return;
    const int row = FocusedRow();
    const std::string text = m_parameters.OnCut(row);
    if (text.empty())
        return;
    PutOnClipboard(text);
    SelectRow(row);
}

std::string CKSTListView::ClipboardParameterText() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (mime == nullptr || !mime->hasFormat(ParameterFormat()))
        return {};
    const QByteArray bytes = mime->data(ParameterFormat());
    const qsizetype end = bytes.indexOf('\0');
    return std::string(bytes.constData(), static_cast<std::size_t>(end < 0 ? bytes.size() : end));
}

bool CKSTListView::CanPaste() const {
    return Object() != nullptr && CParameterCommands::CanPaste(ClipboardParameterText());
}

void CKSTListView::OnPaste() {
    if (Object() == nullptr)
        return;
    const int pasted = m_parameters.OnPaste(ClipboardParameterText(), FocusedRow());
    if (pasted >= 0)
        SelectRow(pasted);
}

bool CKSTListView::CanMove() const {
    return Object() != nullptr && hasFocus() && FocusedRow() > 0;
}

void CKSTListView::OnMove(MoveCommand command) {
    if (!CanMove())
        return;
    const int target = m_parameters.OnMove(FocusedRow(), command);
    if (target >= 0)
        SelectRow(target);
}

void CKSTListView::OnCopyView() {
    const CParameterListPrinter printer(Rows(), font(), columnWidth(0), columnWidth(1));
    auto* mime = new QMimeData();
    mime->setImageData(printer.Picture());
    mime->setText(TextToQt(m_parameters.ListText()));
    QApplication::clipboard()->setMimeData(mime);
}

CommandAnswer CKSTListView::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Cut:
        return AnswerIf(CanCutOrCopy() && CanRemove());
    case EditCommand::Copy:
        return AnswerIf(CanCutOrCopy());
    case EditCommand::Paste:
        return AnswerIf(CanPaste());
    case EditCommand::Remove:
        return AnswerIf(CanRemove());
    case EditCommand::CopyView:
        return CommandAnswer::Enabled;
    default:
        return MoveOf(command) ? AnswerIf(CanMove()) : CommandAnswer::NotMine;
    }
}

void CKSTListView::Run(EditCommand command) {
    if (const std::optional<MoveCommand> move = MoveOf(command)) {
        OnMove(*move);
        return;
    }
    switch (command) {
    case EditCommand::Cut:
        return OnCut();
    case EditCommand::Copy:
        return OnCopy();
    case EditCommand::Paste:
        return OnPaste();
    case EditCommand::Remove:
        return OnRemove();
    case EditCommand::CopyView:
        return OnCopyView();
    default:
        return;
    }
}

Result<int> CKSTListView::Print(QPrinter& printer) {
    const CParameterListPrinter list(Rows(), font(), columnWidth(0), columnWidth(1));
    return list.Print(printer, TextToQt(m_doc.GetTitle()) + QStringLiteral(" Parameter Lists"));
}

} // namespace kestra
