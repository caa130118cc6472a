#include "ShutdownWarning.h"

#include "Fonts.h"
#include "ScreenCorner.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int countdownTicks = 10;

QString countdownText(int secondsLeft)
{
    return QStringLiteral("该窗口将在%1秒后关闭.").arg(secondsLeft);
}

QPushButton *makeFlatButton(QWidget *parent, const QString &objectName, const QString &caption, int x)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setGeometry(x, 56, 65, 17);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

ShutdownWarning::ShutdownWarning(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_lbTishi(new QLabel(QStringLiteral("翎鹊时间管理器"), this))
    , m_lbShengyu(new QLabel(countdownText(countdownTicks), this))
    , m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmHint"));
    setWindowTitle(QStringLiteral("翎鹊工作室友情提示:"));
    setWindowOpacity(200.0 / 255.0);
    setFixedSize(357, 83);
    setFont(songTiPixelFont(12));

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(0, 0, 357, 83);
    shape->setStyleSheet(
        QStringLiteral("#Shape1 { background: rgb(214, 239, 255); border: 1px solid rgb(132, 203, 239); }"));
    shape->lower();

    m_lbTishi->setObjectName(QStringLiteral("lbTishi"));
    m_lbTishi->move(16, 16);
    m_lbTishi->adjustSize();

    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(16, 40, 321, 2);

    m_lbShengyu->setObjectName(QStringLiteral("lbShengyu"));
    m_lbShengyu->move(16, 48);
    m_lbShengyu->adjustSize();

    QPushButton *btnOK = makeFlatButton(this, QStringLiteral("btnOK"), QStringLiteral("确定"), 192);
    QPushButton *btnCancel = makeFlatButton(this, QStringLiteral("btnCancel"), QStringLiteral("推迟5分钟"), 272);
    connect(btnOK, &QPushButton::clicked, this, &ShutdownWarning::confirm);
    connect(btnCancel, &QPushButton::clicked, this, &ShutdownWarning::postponeFiveMinutes);

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &ShutdownWarning::countDown);
}

void ShutdownWarning::setMessage(const QString &message)
{
    m_message = message;
    // Two lines must fit above the rule at y 40: twelve pixels a line.
    QStringList lines;
    for (const QString &line : message.split(QChar(13)))
        lines << line.toHtmlEscaped();
    m_lbTishi->setTextFormat(Qt::RichText);
    m_lbTishi->setText(QStringLiteral("<p style=\"margin: 0; line-height: 12px; -qt-line-height-type: fixed\">%1</p>")
                           .arg(lines.join(QStringLiteral("<br>"))));
    m_lbTishi->adjustSize();
}

void ShutdownWarning::placeAtScreenCorner()
{
    placeAtBottomRight(this, 30);
}

void ShutdownWarning::startCountdown()
{
    m_timer1->start();
}

void ShutdownWarning::countDown()
{
    if (tickCount >= countdownTicks) {
        m_timer1->stop();
        done(userChoice);
        return;
    }
    m_lbShengyu->setText(countdownText(countdownTicks - tickCount));
    m_lbShengyu->adjustSize();
    ++tickCount;
}

void ShutdownWarning::confirm()
{
    userChoice = Confirm;
    done(userChoice);
}

void ShutdownWarning::postponeFiveMinutes()
{
    userChoice = Postpone;
    done(userChoice);
}
