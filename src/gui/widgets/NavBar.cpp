#include "gui/widgets/NavBar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char *const headerProperty = "navGroupHeader";

QWidget *bodyOf(const QToolButton *header)
{
    return header->parentWidget()->findChild<QWidget *>(header->objectName() + QStringLiteral("Items"),
                                                        Qt::FindDirectChildrenOnly);
}

// A group header as a screen reader should hear it: a button that expands
// or collapses its group.
class GroupHeaderAccessible : public QAccessibleWidget
{
public:
    explicit GroupHeaderAccessible(QToolButton *header)
        : QAccessibleWidget(header, QAccessible::PushButton)
    {
    }

    QToolButton *header() const { return static_cast<QToolButton *>(widget()); }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return header()->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QWidget *body = bodyOf(header());
        const bool expanded = body && !body->isHidden();
        state.expandable = true;
        state.expanded = expanded;
        state.collapsed = !expanded;
        state.checkable = false;
        state.checked = false;
        return state;
    }

    QStringList actionNames() const override { return QStringList {pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            header()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *groupHeaderInterface(const QString &, QObject *object)
{
    auto *header = qobject_cast<QToolButton *>(object);
    if (header && header->property(headerProperty).toBool())
        return new GroupHeaderAccessible(header);
    return nullptr;
}

} // namespace

NavBar::NavBar(const QSize &iconSize, QWidget *parent)
    : QWidget(parent)
    , m_iconSize(iconSize)
    , m_layout(new QVBoxLayout(this))
{
    static const bool headersAnnounced = [] {
        QAccessible::installFactory(groupHeaderInterface);
        return true;
    }();
    Q_UNUSED(headersAnnounced);
    setAttribute(Qt::WA_StyledBackground);
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->setSpacing(4);
    m_layout->addStretch(1);
}

QToolButton *NavBar::addGroup(const QString &objectName, const QString &caption)
{
    auto *header = new QToolButton(this);
    header->setObjectName(objectName);
    header->setProperty(headerProperty, true);
    header->setText(caption);
    header->setArrowType(Qt::DownArrow);
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->setAutoRaise(true);

    auto *body = new QWidget(this);
    body->setObjectName(objectName + QStringLiteral("Items"));
    body->setProperty("navGroupBody", true);
    body->setAttribute(Qt::WA_StyledBackground);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(4, 4, 4, 4);
    bodyLayout->setSpacing(2);

    connect(header, &QToolButton::clicked, this, [this, header] { showGroup(header, bodyOf(header)->isHidden()); });

    const int stretchIndex = m_layout->count() - 1;
    m_layout->insertWidget(stretchIndex, header);
    m_layout->insertWidget(stretchIndex + 1, body);
    m_lastBody = body;
    m_headers.append(header);
    return header;
}

QToolButton *NavBar::addItem(const QString &objectName, const QString &caption, const QIcon &icon)
{
    Q_ASSERT(m_lastBody);
    auto *item = new QToolButton(m_lastBody);
    item->setObjectName(objectName);
    item->setProperty("navItem", true);
    item->setText(caption);
    item->setIcon(icon);
    item->setIconSize(m_iconSize);
    item->setAutoRaise(true);
    item->setCursor(Qt::PointingHandCursor);
    item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    item->setToolButtonStyle(m_iconSize.width() > 16 ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    m_lastBody->layout()->addWidget(item);
    return item;
}

QWidget *NavBar::groupBody(const QString &groupName) const
{
    return findChild<QWidget *>(groupName + QStringLiteral("Items"));
}

void NavBar::showGroup(QToolButton *header, bool expanded)
{
    QWidget *body = bodyOf(header);
    if (body->isHidden() != expanded)
        return;
    if (expanded && m_oneGroupOpen) {
        for (QToolButton *other : std::as_const(m_headers))
            if (other != header)
                showGroup(other, false);
    }
    body->setVisible(expanded);
    header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(header, changed);
    QAccessible::updateAccessibility(&event);
}

void NavBar::setGroupExpanded(const QString &groupName, bool expanded)
{
    if (auto *header = findChild<QToolButton *>(groupName))
        showGroup(header, expanded);
}

bool NavBar::isGroupExpanded(const QString &groupName) const
{
    const QWidget *body = groupBody(groupName);
    return body && !body->isHidden();
}

void NavBar::setOneGroupOpen(bool one)
{
    m_oneGroupOpen = one;
}
