#include "gui/widgets/GradientTitle.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int stripHeight = 19;
}

GradientTitle::GradientTitle(const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
    , m_top(38, 92, 170)
{
    setFixedHeight(stripHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
}

void GradientTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, m_top);
    gradient.setColorAt(0.75, m_top.lighter(140));
    gradient.setColorAt(1.0, Qt::white);
    painter.fillRect(rect(), gradient);

    // White on the light end of the gradient needs a dark edge to stay legible.
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QRect textRect = rect().adjusted(6, 0, -6, 0);
    painter.setPen(m_top.darker(160));
    painter.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    painter.setPen(Qt::white);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, m_title);
}
