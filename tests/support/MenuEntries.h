#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QStringList>

namespace corvana::test {

// Each action of a menu as "name=caption [shortcut]", a separator as "name=-": a whole menu
// compares as one list, so a caption, a shortcut or the order going wrong shows at once.
inline QStringList Entries(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        out << a->objectName() + "=" + (a->isSeparator() ? QStringLiteral("-") : a->text()) +
                   (a->shortcut().isEmpty() ? QString() : " [" + a->shortcut().toString() + "]");
    return out;
}

} // namespace corvana::test
