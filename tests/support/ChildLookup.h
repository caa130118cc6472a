#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

// The component of `parent` with the given object name and type. A missing
// one ends the test program with a message that names it, rather than
// letting the test go on with a null pointer.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("%s has no component named %s of the type asked for", qPrintable(parent->objectName()),
               qPrintable(name));
    return found;
}

template <typename T> T *child(const QObject *parent, const char *name)
{
    return child<T>(parent, QString::fromLatin1(name));
}
