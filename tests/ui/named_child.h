#pragma once
// The window's controls carry their fixed names as objectName; tests find them by it.

#include <QObject>
#include <QtGlobal>

// The descendant of `root` named `name`; a missing one ends the test run, since every later
// step would only fail on a null pointer.
template <typename T> T* NamedChild(const QObject* root, const char* name) {
    T* found = root->findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no child %s", name);
    return found;
}
