#include "KeyedTree.h"

namespace corvane {

namespace {

enum NodeRole { KeyRole = Qt::UserRole, TagRole, ImageRole, IndexRole };

}  // namespace

KeyedTree::KeyedTree(const QString& name, QWidget* parent) : QTreeWidget(parent) {
    setObjectName(name);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void KeyedTree::SetImageList(std::function<QIcon(int)> images) { images_ = std::move(images); }

void KeyedTree::SetCheckboxes(bool on) { checkboxes_ = on; }

void KeyedTree::Rebuild(const std::function<void()>& addNodes) {
    setVisible(true);
    clear();
    nodes_.clear();
    try {
        addNodes();
    } catch (...) {
        ShowNodes();
        throw;
    }
    ShowNodes();
}

QTreeWidgetItem* KeyedTree::Add(QTreeWidgetItem* parent, const QString& key, const QString& text, const QString& tag,
                                int image, bool expanded) {
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem;
    if (!parent) waiting_.push_back(node);
    nodes_.push_back(node);
    node->setData(0, IndexRole, NodeCount());
    // Ticked or selected, never edited.
    node->setFlags(Qt::ItemIsEnabled | (checkboxes_ ? Qt::ItemIsUserCheckable : Qt::ItemIsSelectable));
    if (checkboxes_) node->setCheckState(0, Qt::Unchecked);
    node->setText(0, text);
    node->setData(0, TagRole, tag);
    node->setData(0, KeyRole, key);
    node->setData(0, ImageRole, image);
    if (images_) node->setIcon(0, images_(image));
    if (expanded) expanded_.push_back(node);
    return node;
}

void KeyedTree::ShowNodes() {
    if (!waiting_.empty()) {
        QList<QTreeWidgetItem*> top(waiting_.begin(), waiting_.end());
        waiting_.clear();
        addTopLevelItems(top);
    }
    for (QTreeWidgetItem* node : expanded_) node->setExpanded(true);
    expanded_.clear();
}

QTreeWidgetItem* KeyedTree::Node(int index) const {
    return index >= 1 && index <= NodeCount() ? nodes_[static_cast<std::size_t>(index - 1)] : nullptr;
}

QTreeWidgetItem* KeyedTree::NodeByKey(const QString& key) const {
    for (QTreeWidgetItem* node : nodes_) {
        if (Key(*node) == key) return node;
    }
    return nullptr;
}

void KeyedTree::SelectNode(QTreeWidgetItem& node) {
    EnsureVisible(node);
    setCurrentItem(&node);
}

void KeyedTree::EnsureVisible(QTreeWidgetItem& node) {
    for (QTreeWidgetItem* p = node.parent(); p; p = p->parent()) p->setExpanded(true);
    scrollToItem(&node);
}

QString KeyedTree::Key(const QTreeWidgetItem& node) { return node.data(0, KeyRole).toString(); }
void KeyedTree::SetKey(QTreeWidgetItem& node, const QString& key) { node.setData(0, KeyRole, key); }
QString KeyedTree::Tag(const QTreeWidgetItem& node) { return node.data(0, TagRole).toString(); }
int KeyedTree::Image(const QTreeWidgetItem& node) { return node.data(0, ImageRole).toInt(); }
int KeyedTree::Index(const QTreeWidgetItem& node) { return node.data(0, IndexRole).toInt(); }

}  // namespace corvane
