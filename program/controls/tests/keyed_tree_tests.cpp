// The keyed tree on its own: what the windows' trees rely on but do not reach themselves.
#include "KeyedTree.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using corvane::KeyedTree;

namespace {

// Nodes in the order of adding: two top-level nodes, children and a grandchild.
struct Row {
    const char* key;
    const char* text;
    const char* tag;
    int image;
    int parent;  // Index of the parent, 0 at the top
    bool expanded;
};
constexpr Row kRows[] = {
    {"Root", "DALI", "r", 1, 0, true},    // 1
    {"A", "first", "0", 7, 1, false},     // 2
    {"A1", "deep", "adr0", 4, 2, false},  // 3
    {"B", "second", "1", 0, 1, true},     // 4
    {"S", "other", "s", 6, 0, false},     // 5
    {"S1", "leaf", "15", 8, 5, false},    // 6
};

void build(KeyedTree& tree, int rows = 6) {
    tree.Rebuild([&] {
        for (int i = 0; i < rows; ++i) {
            const Row& r = kRows[i];
            tree.Add(r.parent ? tree.Node(r.parent) : nullptr, r.key, r.text, r.tag, r.image, r.expanded);
        }
    });
}

QList<int> expanded(const KeyedTree& tree) {
    QList<int> out;
    for (int i = 1; i <= tree.NodeCount(); ++i) {
        if (tree.Node(i)->isExpanded()) out << i;
    }
    return out;
}

}  // namespace

TEST(KeyedTree, NodesKeepKeyTextTagImageAndIndexInTheOrderOfAdding) {
    KeyedTree tree("TreeView1");
    std::vector<int> pictured;
    tree.SetImageList([&](int image) {
        pictured.push_back(image);
        QPixmap p(16, 16);
        p.fill(QColor::fromRgb(image * 30, 0, 0));
        return QIcon(p);
    });
    build(tree);
    EXPECT_EQ(tree.objectName(), "TreeView1");
    ASSERT_EQ(tree.NodeCount(), 6);
    for (int i = 1; i <= 6; ++i) {
        const Row& r = kRows[i - 1];
        QTreeWidgetItem* node = tree.Node(i);
        ASSERT_NE(node, nullptr) << i;
        EXPECT_EQ(KeyedTree::Key(*node), r.key) << i;
        EXPECT_EQ(node->text(0), r.text) << i;
        EXPECT_EQ(KeyedTree::Tag(*node), r.tag) << i;
        EXPECT_EQ(KeyedTree::Image(*node), r.image) << i;
        EXPECT_EQ(KeyedTree::Index(*node), i);
        EXPECT_EQ(node->parent(), r.parent ? tree.Node(r.parent) : nullptr) << i;
        EXPECT_EQ(tree.NodeByKey(r.key), node) << i;
        EXPECT_FALSE(node->flags() & Qt::ItemIsEditable) << i;
        EXPECT_FALSE(node->icon(0).isNull()) << i;
    }
    EXPECT_EQ(pictured, (std::vector<int>{1, 7, 4, 0, 6, 8}));
    EXPECT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(1), tree.Node(5));
    EXPECT_EQ(expanded(tree), (QList<int>{1, 4}));
    for (int outside : {0, -1, 7}) EXPECT_EQ(tree.Node(outside), nullptr) << outside;
    EXPECT_EQ(tree.NodeByKey("root"), nullptr);  // keys are case-sensitive
    EXPECT_EQ(tree.NodeByKey("A1"), tree.Node(3));

    // A key changed later is the one found.
    KeyedTree::SetKey(*tree.Node(6), "S1U");
    EXPECT_EQ(tree.NodeByKey("S1U"), tree.Node(6));
    EXPECT_EQ(tree.NodeByKey("S1"), nullptr);

    // A rebuild starts the indexes afresh.
    build(tree, 2);
    EXPECT_EQ(tree.NodeCount(), 2);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(KeyedTree::Index(*tree.NodeByKey("A")), 2);
    EXPECT_EQ(tree.NodeByKey("S"), nullptr);
}

TEST(KeyedTree, AFailedRebuildShowsTheNodesAddedSoFar) {
    KeyedTree tree("TreeView1");
    tree.setVisible(false);
    EXPECT_THROW(tree.Rebuild([&] {
        QTreeWidgetItem* root = tree.Add(nullptr, "Root", "DALI", "r", 1, true);
        tree.Add(root, "A", "first", "0");
        throw std::runtime_error("read failed");
    }),
                 std::runtime_error);
    EXPECT_FALSE(tree.isHidden());
    ASSERT_EQ(tree.NodeCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0), tree.Node(1));
    EXPECT_EQ(expanded(tree), QList<int>{1});
}

TEST(KeyedTree, SelectingOrShowingANodeOpensItsParentsAndNothingElse) {
    KeyedTree tree("TreeView1");
    build(tree);
    tree.Node(1)->setExpanded(false);
    tree.SelectNode(*tree.Node(3));
    EXPECT_EQ(tree.SelectedNode(), tree.Node(3));
    EXPECT_EQ(expanded(tree), (QList<int>{1, 2, 4}));
    tree.EnsureVisible(*tree.Node(6));
    EXPECT_EQ(tree.SelectedNode(), tree.Node(3));
    EXPECT_EQ(expanded(tree), (QList<int>{1, 2, 4, 5}));
}

TEST(KeyedTree, CheckBoxNodesAreTickedNotSelected) {
    struct Case {
        bool checkboxes;
        Qt::ItemFlags flags;
        bool hasBox;
    };
    const Case cases[] = {
        {false, Qt::ItemIsEnabled | Qt::ItemIsSelectable, false},
        {true, Qt::ItemIsEnabled | Qt::ItemIsUserCheckable, true},
    };
    for (const Case& c : cases) {
        KeyedTree tree("TreeView1");
        tree.SetCheckboxes(c.checkboxes);
        build(tree, 1);
        const QTreeWidgetItem& node = *tree.Node(1);
        EXPECT_EQ(node.flags(), c.flags) << c.checkboxes;
        EXPECT_EQ(node.data(0, Qt::CheckStateRole).isValid(), c.hasBox) << c.checkboxes;
        if (c.hasBox) {
            EXPECT_EQ(node.checkState(0), Qt::Unchecked);
        }
    }
}
