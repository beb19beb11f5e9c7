// The tree control that the windows were designed with: nodes added in order, each with a Key,
// its Text, a Tag, an Image of the tree's image list, its Index (1-based, the order of adding)
// and whether it is Expanded; nodes found by key and by index; the selected node; a node made
// visible. A rebuild puts the nodes together outside the view, which takes them at once.
#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidget>

#include <functional>
#include <vector>

namespace corvane {

class KeyedTree : public QTreeWidget {
    Q_OBJECT
public:
    // One column, no header; node texts cannot be edited.
    explicit KeyedTree(const QString& name, QWidget* parent = nullptr);

    // The pictures of the image numbers that nodes carry (none: nodes show no picture).
    void SetImageList(std::function<QIcon(int)> images);
    // Every node added from now on gets a check box, unticked; such nodes are ticked, not selected.
    void SetCheckboxes(bool on);

    // Makes the control visible, removes every node and runs addNodes, whose nodes wait outside
    // the view until the view takes them all at once and opens those added expanded. When
    // addNodes fails, the nodes added so far are shown and the error goes on to the caller.
    void Rebuild(const std::function<void()>& addNodes);
    // Within addNodes: adds a node as the last child of parent (nullptr: at the top) and gives it
    // the next Index.
    QTreeWidgetItem* Add(QTreeWidgetItem* parent, const QString& key, const QString& text, const QString& tag,
                         int image = 0, bool expanded = false);

    // Nodes by their Index; nullptr outside 1..NodeCount().
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    QTreeWidgetItem* Node(int index) const;
    // The first node with this key (exact, case-sensitive), or nullptr.
    QTreeWidgetItem* NodeByKey(const QString& key) const;
    QTreeWidgetItem* SelectedNode() const { return currentItem(); }
    // Selects the node as a click does, and makes it visible.
    void SelectNode(QTreeWidgetItem& node);
    // Opens the node's parents as far as needed and scrolls the view to it.
    void EnsureVisible(QTreeWidgetItem& node);

    static QString Key(const QTreeWidgetItem& node);
    static void SetKey(QTreeWidgetItem& node, const QString& key);
    static QString Tag(const QTreeWidgetItem& node);
    static int Image(const QTreeWidgetItem& node);
    static int Index(const QTreeWidgetItem& node);

private:
    void ShowNodes();

    std::function<QIcon(int)> images_;
    bool checkboxes_ = false;
    std::vector<QTreeWidgetItem*> nodes_;
    std::vector<QTreeWidgetItem*> waiting_;   // top-level nodes of a rebuild, not in the view yet
    std::vector<QTreeWidgetItem*> expanded_;  // to open once the view holds them
};

}  // namespace corvane
