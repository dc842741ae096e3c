#include "project/hierarchy_tree.h"

#include <gtest/gtest.h>
#include <vector>

namespace kestra {
namespace {

std::vector<std::string> PreOrder(const CHierarchyTree& tree, const CHierarchyItem* within = nullptr) {
    std::vector<std::string> texts;
    for (const CHierarchyItem* item = within != nullptr ? within : tree.GetRootItem(); item != nullptr;
         item = tree.NextItem(item, within))
        texts.push_back(item->Text() + ":" + std::to_string(CHierarchyTree::ItemDepth(item)));
    return texts;
}

std::vector<std::string> ChildTexts(const CHierarchyItem* parent) {
    std::vector<std::string> texts;
    for (const CHierarchyItem* child = parent->FirstChild(); child != nullptr; child = child->NextSibling())
        texts.push_back(child->Text());
    return texts;
}

// ROOT
//   A
//     A1
//     A2
//   B
//   C
//     C1
//       C11
struct SampleTree {
    CHierarchyTree tree;
    CHierarchyItem* root = tree.InsertItem("ROOT", HierarchyKind::Root);
    CHierarchyItem* a = tree.InsertItem("A", HierarchyKind::Normal, root);
    CHierarchyItem* a1 = tree.InsertItem("A1", HierarchyKind::Library, a);
    CHierarchyItem* a2 = tree.InsertItem("A2", HierarchyKind::Predefined, a);
    CHierarchyItem* b = tree.InsertItem("B", HierarchyKind::Package, root);
    CHierarchyItem* c = tree.InsertItem("C", HierarchyKind::Normal, root);
    CHierarchyItem* c1 = tree.InsertItem("C1", HierarchyKind::Normal, c);
    CHierarchyItem* c11 = tree.InsertItem("C11", HierarchyKind::Normal, c1);
};

TEST(HierarchyTree, InsertItemCreatesTheRecordsOfItsKind) {
    CHierarchyTree tree;
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    CHierarchyItem* root = tree.InsertItem("ProjectA", HierarchyKind::Root);
    EXPECT_EQ(tree.GetModuleFolder(), "ProjectA/");
    EXPECT_EQ(root->SelectedImage(), 3);
    for (const HierarchyKind kind : {HierarchyKind::Normal, HierarchyKind::Root, HierarchyKind::Library,
                                     HierarchyKind::Predefined, HierarchyKind::Package}) {
        CHierarchyItem* item = tree.InsertItem("M" + std::to_string(static_cast<int>(kind)), kind, root);
        EXPECT_EQ(CHierarchyTree::ItemKind(item), kind);
        EXPECT_EQ(item->SelectedImage(), static_cast<int>(kind) + 1);
        EXPECT_NE(item->Object(), nullptr);
        EXPECT_NE(item->BlockData(), nullptr);
        EXPECT_EQ(item->Signals() != nullptr, kind == HierarchyKind::Normal ||
                                                  kind == HierarchyKind::Library ||
                                                  kind == HierarchyKind::Predefined)
            << item->Text();
        EXPECT_EQ(item->Status(), AnalysisStatus::None);
    }
    EXPECT_EQ(root->Signals(), nullptr);
    EXPECT_EQ(tree.GetModuleFolder(), "ProjectA/");
    EXPECT_EQ(tree.ItemCount(), 6);
}

TEST(HierarchyTree, InsertPositions) {
    CHierarchyTree tree;
    CHierarchyItem* root = tree.InsertItem("R", HierarchyKind::Root);
    CHierarchyItem* x = tree.InsertItem("X", HierarchyKind::Normal, root);
    tree.InsertItem("Z", HierarchyKind::Normal, root);
    tree.InsertItem("Y", HierarchyKind::Normal, root, x);
    tree.InsertItemAt("W", HierarchyKind::Normal, root, 0);
    tree.InsertItemAt("END", HierarchyKind::Normal, root, 99);
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{"W", "X", "Y", "Z", "END"}));
    for (int i = 0; i < root->ChildCount(); ++i)
        EXPECT_EQ(root->Child(i)->IndexInParent(), i);
    // A second top-level item takes over the module folder.
    CHierarchyItem* other = tree.InsertItem("Other", HierarchyKind::Root);
    EXPECT_EQ(tree.TopLevelCount(), 2);
    EXPECT_EQ(tree.GetModuleFolder(), "Other/");
    EXPECT_EQ(other->Parent(), nullptr);
    EXPECT_EQ(root->NextSibling(), other);
    EXPECT_EQ(other->PrevSibling(), root);
}

TEST(HierarchyTree, PreOrderWalkAndDepths) {
    SampleTree sample;
    EXPECT_EQ(PreOrder(sample.tree),
              (std::vector<std::string>{"ROOT:0", "A:1", "A1:2", "A2:2", "B:1", "C:1", "C1:2", "C11:3"}));
    EXPECT_EQ(sample.tree.NextItem(nullptr), sample.root);
    EXPECT_EQ(sample.tree.NextItem(sample.a2), sample.b);
    EXPECT_EQ(sample.tree.NextItem(sample.c11), nullptr);
    EXPECT_EQ(PreOrder(sample.tree, sample.a), (std::vector<std::string>{"A:1", "A1:2", "A2:2"}));
    EXPECT_EQ(PreOrder(sample.tree, sample.b), (std::vector<std::string>{"B:1"}));
    EXPECT_EQ(CHierarchyTree::LastDescendant(sample.root), sample.c11);
    EXPECT_EQ(CHierarchyTree::LastDescendant(sample.b), sample.b);
    EXPECT_TRUE(sample.root->IsAncestorOf(sample.c11));
    EXPECT_TRUE(sample.c->IsAncestorOf(sample.c11));
    EXPECT_FALSE(sample.a->IsAncestorOf(sample.c11));
    EXPECT_FALSE(sample.c11->IsAncestorOf(sample.c11));
}

TEST(HierarchyTree, DeleteItemTakesTheSubtreeAndItsRecords) {
    SampleTree sample;
    sample.tree.DeleteItem(sample.c);
    EXPECT_EQ(sample.tree.ItemCount(), 5);
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"A", "B"}));
    sample.tree.DeleteItem(sample.a);
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"B"}));
    EXPECT_EQ(sample.b->IndexInParent(), 0);
    EXPECT_EQ(sample.tree.ItemCount(), 2);
    sample.tree.DeleteAllItems();
    EXPECT_TRUE(sample.tree.IsEmpty());
    EXPECT_EQ(sample.tree.ItemCount(), 0);
}

TEST(HierarchyTree, MovesKeepParentAndChildren) {
    SampleTree sample;
    CHierarchyTree& tree = sample.tree;
    // Move Up on the first sibling and Move Down on the last change nothing.
    EXPECT_TRUE(tree.MoveItemTo(sample.a, sample.a->IndexInParent() - 1));
    EXPECT_TRUE(tree.MoveItemTo(sample.c, sample.c->IndexInParent() + 1));
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"A", "B", "C"}));
    tree.MoveItemTo(sample.a, sample.a->IndexInParent() + 1);
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"B", "A", "C"}));
    tree.MoveItemTo(sample.c, 0);
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"C", "B", "A"}));
    tree.MoveItemTo(sample.c, sample.root->ChildCount() - 1);
    EXPECT_EQ(ChildTexts(sample.root), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(ChildTexts(sample.a), (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(sample.c1->Parent(), sample.c);
    for (int i = 0; i < sample.root->ChildCount(); ++i)
        EXPECT_EQ(sample.root->Child(i)->IndexInParent(), i);
    EXPECT_EQ(tree.NextItem(sample.b), sample.a);
}

TEST(HierarchyTree, KindChangesKeepSignalListsInLine) {
    SampleTree sample;
    CHierarchyTree& tree = sample.tree;
    sample.a1->Signals()->AddSignal();
    sample.a1->Signals()->SetSignal(0, "clk", "in", "std_logic");
    tree.SetItemKind(sample.a1, HierarchyKind::Normal);
    ASSERT_NE(sample.a1->Signals(), nullptr);
    EXPECT_EQ(sample.a1->Signals()->GetSignalCount(), 1);
    tree.SetItemKind(sample.a1, HierarchyKind::Package);
    EXPECT_EQ(sample.a1->Signals(), nullptr);
    EXPECT_EQ(sample.a1->SelectedImage(), 9);
    tree.SetItemKind(sample.a1, HierarchyKind::Predefined);
    ASSERT_NE(sample.a1->Signals(), nullptr);
    EXPECT_EQ(sample.a1->Signals()->GetSignalCount(), 0);
}

TEST(HierarchyTree, MarksCoverSubtrees) {
    SampleTree sample;
    CHierarchyTree& tree = sample.tree;
    EXPECT_EQ(tree.FirstMarkedItem(), nullptr);
    tree.MarkSubtree(sample.c, true);
    EXPECT_TRUE(sample.c->HasCutMark());
    EXPECT_TRUE(sample.c11->HasCutMark());
    EXPECT_FALSE(sample.c->HasCopyMark());
    EXPECT_FALSE(sample.b->HasCutMark());
    EXPECT_EQ(tree.FirstMarkedItem(), sample.c);
    tree.ClearAllMarks();
    EXPECT_FALSE(sample.c11->HasCutMark());
    tree.MarkSubtree(sample.a, false);
    EXPECT_TRUE(sample.a2->HasCopyMark());
    EXPECT_FALSE(sample.a2->HasCutMark());
    EXPECT_EQ(tree.FirstMarkedItem(), sample.a);
}

TEST(HierarchyTree, CopySubtreeCopiesRecordsDeeply) {
    SampleTree sample;
    sample.tree.SetStatus(sample.c1, AnalysisStatus::Analyzed);
    sample.c1->Object()->SetEntryCount(1);
    sample.c1->Object()->SetEntry(0, EntryKind::Vhdl, "C1", "C1.vhd");
    sample.c1->BlockData()->Resize(1);
    sample.tree.MarkSubtree(sample.c, false);

    CHierarchyTree other;
    CHierarchyItem* target = other.InsertItem("P", HierarchyKind::Root);
    CHierarchyItem* copy = other.CopySubtree(*sample.c, target);
    EXPECT_EQ(PreOrder(other), (std::vector<std::string>{"P:0", "C:1", "C1:2", "C11:3"}));
    CHierarchyItem* copiedC1 = copy->FirstChild();
    EXPECT_EQ(copiedC1->Status(), AnalysisStatus::Analyzed);
    EXPECT_FALSE(copiedC1->HasCopyMark());
    EXPECT_EQ(*copiedC1->Object(), *sample.c1->Object());
    copiedC1->Object()->SetEntryText(0, EntryField::Name, "changed");
    EXPECT_EQ(sample.c1->Object()->GetEntryName(0), "C1");
    EXPECT_EQ(copiedC1->BlockData()->GetBlockCount(), 1);

    // Into its own subtree: what was there is copied once.
    sample.tree.CopySubtree(*sample.c, sample.c11);
    EXPECT_EQ(PreOrder(sample.tree, sample.c),
              (std::vector<std::string>{"C:1", "C1:2", "C11:3", "C:4", "C1:5", "C11:6"}));
    EXPECT_EQ(sample.tree.ItemCount(), 11);
}

TEST(HierarchyTree, DeepChainsAreWalkedAndDestroyedWithoutRecursion) {
    auto tree = std::make_unique<CHierarchyTree>();
    CHierarchyItem* item = tree->InsertItem("R", HierarchyKind::Root);
    constexpr int kDepth = 200000;
    for (int i = 0; i < kDepth; ++i)
        item = tree->InsertItem("M", HierarchyKind::Normal, item);
    EXPECT_EQ(CHierarchyTree::ItemDepth(item), kDepth);
    EXPECT_EQ(CHierarchyTree::LastDescendant(tree->GetRootItem()), item);
    EXPECT_EQ(tree->NextItem(item), nullptr);
    tree->DeleteItem(tree->GetRootItem()->FirstChild()->FirstChild());
    EXPECT_EQ(tree->ItemCount(), 2);
    tree.reset();
}

struct RecordingListener : CHierarchyListener {
    std::vector<std::string> events;
    void ItemAboutToBeInserted(CHierarchyItem* parent, int index) override {
        events.push_back("+? " + (parent ? parent->Text() : std::string("-")) + " " + std::to_string(index));
    }
    void ItemInserted(CHierarchyItem* item) override { events.push_back("+ " + item->Text()); }
    void ItemAboutToBeRemoved(CHierarchyItem* item) override { events.push_back("-? " + item->Text()); }
    void ItemRemoved(CHierarchyItem* parent, int index) override {
        events.push_back("- " + (parent ? parent->Text() : std::string("-")) + " " + std::to_string(index));
    }
    void ItemAboutToBeMoved(CHierarchyItem* item, int index) override {
        events.push_back(">? " + item->Text() + " " + std::to_string(index));
    }
    void ItemMoved(CHierarchyItem* item) override { events.push_back("> " + item->Text()); }
    void ItemChanged(CHierarchyItem* item) override { events.push_back("* " + item->Text()); }
};

TEST(HierarchyTree, ListenerHearsEveryChangeInOrder) {
    CHierarchyTree tree;
    RecordingListener listener;
    tree.SetListener(&listener);
    CHierarchyItem* root = tree.InsertItem("R", HierarchyKind::Root);
    CHierarchyItem* a = tree.InsertItem("A", HierarchyKind::Normal, root);
    tree.InsertItem("B", HierarchyKind::Normal, root);
    tree.MoveItemTo(a, 1);
    tree.SetStatus(a, AnalysisStatus::New);
    tree.SetStatus(a, AnalysisStatus::New);
    tree.SetItemText(a, "A2");
    tree.DeleteItem(a);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"+? - 0", "+ R", "+? R 0", "+ A", "+? R 1", "+ B",
                                                         ">? A 1", "> A", "* A", "* A2", "-? A2", "- R 1"}));
}

} // namespace
} // namespace kestra
