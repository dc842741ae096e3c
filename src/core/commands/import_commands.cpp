#include "commands/import_commands.h"

#include "model/design_object.h"
#include "operations/analyze_module.h"
#include "project/analysis_status.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "project/project_observer.h"
#include "text/char_class.h"

#include <algorithm>
#include <set>

namespace kestra {

bool CImportCommands::OnImportDesign(const DesignImportPreview& preview) {
    m_tops.clear();
    CHierarchyItem* parent = m_session.Selected();
    CKSTDoc& doc = m_session.Doc();
    if (parent == nullptr ||
        (parent->Kind() != HierarchyKind::Root && parent->Kind() != HierarchyKind::Normal)) {
        m_session.ReportRefusal("A design is imported below the project or a normal module.");
        return false;
    }
    m_session.Observer().CommitPanes(parent);
    doc.Log().AppendLog("\r\nImporting a VHDL design of " + std::to_string(preview.files.size()) +
                        " files ...");
    ReportProblems(preview);
    Result<DesignImportResult> imported = ImportDesign(doc, parent, preview);
    if (!imported) {
        m_session.ReportRefusal(imported.Reason() + " Nothing was imported.");
        return false;
    }
    for (const std::string& note : imported->notes)
        doc.Log().AppendLog("\r\n" + note);
    m_tops = imported->tops;
    ReportNameClashes();
    doc.SetModifiedFlag();
    if (parent->Kind() == HierarchyKind::Normal)
        MarkNeedsAnalysis(doc, parent);
    const int failed = AnalyzeImported();
    ChooseArchitectures(imported->architectures);
    std::string names;
    for (const CHierarchyItem* top : m_tops)
        names += (names.empty() ? "" : ", ") + top->Text();
    doc.Log().AppendLog("\r\nDesign imported: " + std::to_string(imported->modules) + " modules, top " +
                        names + ".");
    if (failed > 0)
        doc.Log().AppendWarning(std::to_string(failed) + " of them did not analyse: see above.");
    m_session.Select(m_tops.front());
    m_session.Observer().ReloadPanes(m_tops.front());
    m_session.Observer().ShowItem(m_tops.front());
    return true;
}

// Every module of the new trees, children first; one that does not analyse stops none of the
// others. The number of those that did not analyse.
int CImportCommands::AnalyzeImported() {
    int failed = 0;
    CKSTDoc& doc = m_session.Doc();
    for (CHierarchyItem* top : m_tops) {
        for (CHierarchyItem* item = CHierarchyTree::LastDescendant(top);;
             item = CHierarchyTree::PreviousItem(item)) {
            if (IsModuleKind(item->Kind())) {
                AnalyzeModule(doc, item, m_session.Context());
                failed += item->Status() == AnalysisStatus::Analyzed ? 0 : 1;
            }
            if (item == top)
                break;
        }
    }
    return failed;
}

namespace {

bool InTrees(const std::vector<CHierarchyItem*>& tops, const CHierarchyItem* item) {
    return std::any_of(tops.begin(), tops.end(),
                       [item](const CHierarchyItem* top) { return top == item || top->IsAncestorOf(item); });
}

} // namespace

// A module of the project that has the name of an imported one, in the same VHDL library but
// from another file, is hidden by it (or hides it) wherever both are compiled.
void CImportCommands::ReportNameClashes() {
    CKSTDoc& doc = m_session.Doc();
    const CHierarchyTree& tree = doc.Tree();
    std::set<std::string> reported;
    for (CHierarchyItem* other = tree.GetRootItem(); other != nullptr; other = tree.NextItem(other)) {
        if (other->Kind() != HierarchyKind::Normal || InTrees(m_tops, other))
            continue;
        for (CHierarchyItem* top : m_tops) {
            for (CHierarchyItem* item = top; item != nullptr; item = tree.NextItem(item, top)) {
                if (item->Kind() != HierarchyKind::Normal || !SameTextNoCase(item->Text(), other->Text()) ||
                    doc.ModuleLibrary(*item) != doc.ModuleLibrary(*other) ||
                    doc.ModuleSourcePath(*item) == doc.ModuleSourcePath(*other) ||
                    !reported.insert(ToLowerAscii(item->Text())).second)
                    continue;
                doc.Log().AppendWarning("Module " + other->Text() + " of the project (" +
                                        doc.ModuleSourcePath(*other).filename().string() +
                                        ") and the imported entity " + item->Text() + " (" +
                                        doc.ModuleSourcePath(*item).filename().string() +
                                        ") have one name in library " + doc.ModuleLibrary(*item) +
                                        ": where both are compiled, one replaces the other.");
            }
        }
    }
}

void CImportCommands::ReportProblems(const DesignImportPreview& preview) {
    CMessageLog& log = m_session.Doc().Log();
    for (const ImportProblem& problem : preview.problems) {
        std::string where = problem.file;
        if (problem.line > 0)
            where += ":" + std::to_string(problem.line);
        const std::string text = (where.empty() ? std::string() : where + ": ") + problem.message + ".";
        if (problem.severity == ImportSeverity::Error)
            log.AppendError(text);
        else
            log.AppendWarning(text);
    }
}

void CImportCommands::ChooseArchitectures(const std::vector<BoundArchitecture>& architectures) {
    for (const BoundArchitecture& bound : architectures) {
        CKSTObject* object = bound.item->Object();
        for (int i = 1; object != nullptr && i < object->GetEntryCount(); ++i) {
            if (object->GetEntryKind(i) != EntryKind::Architecture)
                continue;
            for (const std::string& choice : object->GetChoiceList(i)) {
                if (SameTextNoCase(choice, bound.architecture))
                    object->SetEntryText(i, EntryField::Value, choice);
            }
        }
    }
}

} // namespace kestra
