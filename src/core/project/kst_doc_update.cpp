#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

namespace kestra {

namespace {

constexpr const char* kFirstRootName = "ProjectA";
constexpr const char* kLibraryNameEntry = "Library name";
constexpr const char* kDefaultLibraryName = "WORK";
constexpr const char* kDestinationFolderEntry = "Destination folder";
constexpr const char* kOldSynthesisLink = "Synthesizer_project";
constexpr const char* kToolLinkNames[] = {"Synthesis", "Implemention", "VHDL_simulation",
                                          "Functional_simulation", "Timing_simulation"};

// "ProjectA", or the first of "ProjectB" ... "ProjectZ" whose folder could be created when
// the earlier ones exist already.
std::string CreateFirstRootFolder(const std::filesystem::path& projectFolder) {
    std::string name = kFirstRootName;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        name[7] = letter;
        bool exists = false;
        if (CreateFolder(projectFolder / name, &exists) || !exists)
            return name;
    }
    return kFirstRootName;
}

} // namespace

void CKSTDoc::OnFirstUpdate() {
    CHierarchyItem* root = m_tree.GetRootItem();
    if (root == nullptr) {
        root = m_tree.InsertItem(CreateFirstRootFolder(m_projectFolder), HierarchyKind::Root);
        SetModifiedFlag(true);
    }
    RepairRootSettings(root);
    for (CHierarchyItem* item = m_tree.GetRootItem(); item != nullptr; item = m_tree.NextItem(item))
        UpdateAnalysisStatus(*this, item);
    m_log.AppendLog(kLogOpenProject + root->Text());
    if (GetFileVersion() < 101)
        m_log.AppendLog(kLogOldFileVersion);
    WarnIfReadOnly();
}

// Said at once, rather than at the first edit whose write fails.
void CKSTDoc::WarnIfReadOnly() {
    if (m_pathName.empty())
        return;
    if (!MayWrite(m_projectFolder))
        m_log.AppendWarning("The project folder " + m_projectFolder.string() +
                            " is read-only: edits cannot be written.");
    else if (FileExists(m_pathName) && !MayWrite(m_pathName))
        m_log.AppendWarning("The project file " + m_pathName + " is read-only: edits cannot be written.");
}

void CKSTDoc::RepairRootSettings(CHierarchyItem* root) {
    CKSTObject& object = *root->Object();
    const CKSTObject before = object;

    if (object.GetEntryKind(0) != EntryKind::Library) {
        object.SetEntryCount(1);
        object.SetEntry(0, EntryKind::Library, kLibraryNameEntry, kDefaultLibraryName);
    }
    m_libraryName = object.GetEntryValue(0);

    int destination = -1;
    for (int i = 1; i < object.GetEntryCount() && destination < 0; ++i) {
        if (object.GetEntryKind(i) == EntryKind::Directory)
            destination = i;
    }
    if (destination < 0) {
        object.SetEntryCount(2);
        object.SetEntry(0, EntryKind::Library, kLibraryNameEntry, m_libraryName);
        object.SetEntry(1, EntryKind::Directory, kDestinationFolderEntry, m_projectFolder.string());
        destination = 1;
    }
    m_destinationFolder = object.GetEntryValue(destination);

    for (const char* name : kToolLinkNames) {
        bool found = false;
        for (int i = 1; i < object.GetEntryCount() && !found; ++i) {
            if (object.GetEntryKind(i) != EntryKind::Link)
                continue;
            const std::string entryName = object.GetEntryName(i);
            if (entryName == name) {
                found = true;
            } else if (std::string_view(name) == "Synthesis" && entryName == kOldSynthesisLink) {
                object.SetEntryText(i, EntryField::Name, name);
                found = true;
            }
        }
        if (!found) {
            const int index = object.AddEntry() - 1;
            object.SetEntry(index, EntryKind::Link, name, "");
        }
    }
    if (!(object == before))
        SetModifiedFlag(true);
}

std::filesystem::path CKSTDoc::ResolvedDestinationFolder() const {
    const CHierarchyItem* root = m_tree.GetRootItem();
    const CKSTObject* object = root != nullptr ? root->Object() : nullptr;
    if (object != nullptr) {
        for (int i = 1; i < object->GetEntryCount(); ++i) {
            if (object->GetEntryKind(i) == EntryKind::Directory)
                return ResolvePath(object->GetEntryValue(i));
        }
    }
    return ResolvePath(m_destinationFolder);
}

} // namespace kestra
