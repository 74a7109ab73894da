#pragma once
// What assistive tools are told about a window: the nodes of its accessible tree, depth first,
// each with whether it is announced as showing (neither it nor a node above it is hidden).
#include <QAccessible>
#include <QList>
#include <QString>

namespace test {

struct AccessibleNode {
    QString name;
    QAccessible::Role role;
    bool showing;
};

inline void collectAccessible(QAccessibleInterface* node, bool shownAbove,
                              QList<AccessibleNode>& out, int depth = 0) {
    if (!node || !node->isValid() || depth > 40)
        return;
    const bool showing = shownAbove && !node->state().invisible;
    out.append({node->text(QAccessible::Name), node->role(), showing});
    for (int i = 0; i < node->childCount(); ++i)
        collectAccessible(node->child(i), showing, out, depth + 1);
}

inline QList<AccessibleNode> accessibleTree(QObject* root) {
    QList<AccessibleNode> out;
    collectAccessible(QAccessible::queryAccessibleInterface(root), true, out);
    return out;
}

// The node of `role` named `name`; nullptr-like (empty name, showing false) when there is none.
inline AccessibleNode findAccessible(QObject* root, QAccessible::Role role, const QString& name) {
    for (const AccessibleNode& node : accessibleTree(root))
        if (node.role == role && node.name == name)
            return node;
    return {QString(), role, false};
}

} // namespace test
