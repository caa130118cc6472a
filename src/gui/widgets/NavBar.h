#pragma once

#include <QIcon>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

// A navigation bar: a column of groups, each a header that folds its items
// away on a click, and items that are flat buttons with an icon and a text.
// Screen readers hear a header as an expandable group, expanded or
// collapsed, not as something to check.
class NavBar : public QWidget
{
    Q_OBJECT

public:
    explicit NavBar(const QSize &iconSize, QWidget *parent = nullptr);

    // A new group at the bottom; returns its header button.
    QToolButton *addGroup(const QString &objectName, const QString &caption);
    // A new item at the end of the last group.
    QToolButton *addItem(const QString &objectName, const QString &caption, const QIcon &icon);

    // Folds a group away or opens it, by the object name of its header.
    void setGroupExpanded(const QString &groupName, bool expanded);
    bool isGroupExpanded(const QString &groupName) const;

    // With one open group at a time, opening a group folds the others, so
    // a bar taller than its room keeps every header in sight.
    void setOneGroupOpen(bool one);

private:
    QWidget *groupBody(const QString &groupName) const;
    void showGroup(QToolButton *header, bool expanded);

    QSize m_iconSize;
    QVBoxLayout *m_layout;
    QWidget *m_lastBody = nullptr;
    QList<QToolButton *> m_headers;
    bool m_oneGroupOpen = false;
};
