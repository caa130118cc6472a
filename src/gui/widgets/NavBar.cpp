#include "gui/widgets/NavBar.h"

#include <QToolButton>
#include <QVBoxLayout>

NavBar::NavBar(const QSize &iconSize, QWidget *parent)
    : QWidget(parent)
    , m_iconSize(iconSize)
    , m_layout(new QVBoxLayout(this))
{
    setAttribute(Qt::WA_StyledBackground);
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->setSpacing(4);
    m_layout->addStretch(1);
}

QToolButton *NavBar::addGroup(const QString &objectName, const QString &caption)
{
    auto *header = new QToolButton(this);
    header->setObjectName(objectName);
    header->setProperty("navGroupHeader", true);
    header->setText(caption);
    header->setCheckable(true);
    header->setChecked(true);
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

    connect(header, &QToolButton::toggled, body, [header, body](bool expanded) {
        body->setVisible(expanded);
        header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    });

    const int stretchIndex = m_layout->count() - 1;
    m_layout->insertWidget(stretchIndex, header);
    m_layout->insertWidget(stretchIndex + 1, body);
    m_lastBody = body;
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

void NavBar::setGroupExpanded(const QString &groupName, bool expanded)
{
    if (auto *header = findChild<QToolButton *>(groupName))
        header->setChecked(expanded);
}

bool NavBar::isGroupExpanded(const QString &groupName) const
{
    const QWidget *body = groupBody(groupName);
    return body && !body->isHidden();
}
