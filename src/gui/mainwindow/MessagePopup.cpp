#include "gui/mainwindow/MessagePopup.h"

#include "gui/widgets/Alert.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/ScreenCorner.h"

#include <QBitmap>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTimer>
#include <QToolButton>

namespace {

const QSize pictureSize(200, 442);
const QRgb seeThrough = qRgb(255, 0, 255);
const QString lettering = QStringLiteral("翎鹊时间管理器友情提示");
constexpr int countdownSeconds = 10;

// The picture with its lettering. The figure is drawn smoothly on a clear
// layer and then set on the fuchsia with hard edges: a pixel is the figure's
// own colour or fuchsia, never a blend, so the colour key leaves no pink
// fringe. The lettering lies on the banner and is smoothed as usual.
QImage popupPicture()
{
    QSvgRenderer svg(QStringLiteral(":/pictures/tishi.svg"));
    QImage figure(pictureSize, QImage::Format_ARGB32);
    figure.fill(Qt::transparent);
    {
        QPainter painter(&figure);
        svg.render(&painter, QStringLiteral("figure"), svg.boundsOnElement(QStringLiteral("figure")));
    }
    QImage picture(pictureSize, QImage::Format_RGB32);
    for (int y = 0; y < pictureSize.height(); ++y) {
        const QRgb *from = reinterpret_cast<const QRgb *>(figure.constScanLine(y));
        QRgb *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < pictureSize.width(); ++x)
            to[x] = qAlpha(from[x]) >= 128 ? qRgb(qRed(from[x]), qGreen(from[x]), qBlue(from[x])) : seeThrough;
    }
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0xB0, 0x1E, 0x1E));
    painter.setFont(songTiPixelFont(22));
    const QRectF banner(170, 62, 20, 330);
    const qreal step = banner.height() / lettering.size();
    for (int i = 0; i < lettering.size(); ++i)
        painter.drawText(QRectF(banner.left() - 6, banner.top() + i * step, banner.width() + 12, step), Qt::AlignCenter,
                         lettering.at(i));
    return picture;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QPoint &at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(songTiPixelFont(12));
    label->move(at);
    return label;
}

} // namespace

MessagePopup::MessagePopup(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_image1(new QLabel(this))
    , m_label1(makeLabel(this, QStringLiteral("Label1"), QString(), QPoint(32, 88)))
    , m_label2(makeLabel(this, QStringLiteral("Label2"), QStringLiteral("距离关闭的秒数:"), QPoint(22, 272)))
    , m_lbNum(makeLabel(this, QStringLiteral("lbNum"), QStringLiteral("10"), QPoint(112, 272)))
    , m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmTishi"));
    setWindowTitle(QStringLiteral("友情提示:"));
    // A notice: it must not take the keyboard from what the user is doing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowOpacity(200.0 / 255.0);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(seeThrough));
    setPalette(background);
    setAutoFillBackground(true);

    const QImage picture = popupPicture();
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap::fromImage(picture));
    m_image1->setGeometry(QRect(QPoint(0, 0), pictureSize));
    m_image1->setAccessibleName(lettering);
    m_image1->lower();
    setFixedSize(pictureSize);
    setMask(QBitmap::fromImage(picture.createMaskFromColor(seeThrough, Qt::MaskInColor)));

    m_label1->setFixedSize(97, 185);
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label2->adjustSize();
    m_lbNum->setMinimumWidth(24);
    m_lbNum->adjustSize();

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &MessagePopup::countDown);

    buildSnoozeButton();

    m_image1->installEventFilter(this);
    m_label1->installEventFilter(this);

    placeAtBottomRight(this);
}

void MessagePopup::buildSnoozeButton()
{
    // Below the countdown, at the foot of the board.
    m_snooze = new QToolButton(this);
    m_snooze->setObjectName(QStringLiteral("btnSnooze"));
    m_snooze->setText(QStringLiteral("稍后提醒"));
    m_snooze->setAccessibleName(QStringLiteral("稍后提醒"));
    m_snooze->setFont(songTiPixelFont(12));
    m_snooze->setPopupMode(QToolButton::InstantPopup);
    m_snooze->setFocusPolicy(Qt::StrongFocus);
    auto *menu = new QMenu(m_snooze);
    menu->setObjectName(QStringLiteral("snoozeMenu"));
    for (int minutes : snoozeMinutes()) {
        QAction *action = menu->addAction(QStringLiteral("%1 分钟后").arg(minutes));
        action->setObjectName(QStringLiteral("snooze%1").arg(minutes));
        connect(action, &QAction::triggered, this, [this, minutes] {
            const QString text = m_label1->text();
            closeOnDoubleClick();
            emit snoozed(text, minutes);
        });
    }
    m_snooze->setMenu(menu);
    m_snooze->adjustSize();
    m_snooze->move(22, 292);
}

void MessagePopup::showMessage(const QString &text)
{
    m_label1->setText(text);
    setAccessibleDescription(text);
    if (isVisible()) {
        startCountdown();
        announceAlert(this);
    } else {
        show();
    }
}

void MessagePopup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    startCountdown();
    announceAlert(this);
}

void MessagePopup::startCountdown()
{
    m_tickCount = 0;
    m_lbNum->setText(QString::number(countdownSeconds));
    m_timer1->start();
}

void MessagePopup::countDown()
{
    if (m_tickCount >= countdownSeconds) {
        m_timer1->stop();
        hide();
        return;
    }
    ++m_tickCount;
    m_lbNum->setText(QString::number(countdownSeconds - m_tickCount));
}

void MessagePopup::closeOnDoubleClick()
{
    m_timer1->stop();
    hide();
}

bool MessagePopup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && (watched == m_image1 || watched == m_label1)) {
        closeOnDoubleClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
