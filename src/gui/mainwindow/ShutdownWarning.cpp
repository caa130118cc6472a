#include "gui/mainwindow/ShutdownWarning.h"

#include "gui/widgets/Alert.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/ScreenCorner.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int countdownTicks = 10;
constexpr int lineHeight = 12;

QString countdownText(int secondsLeft)
{
    return QStringLiteral("该窗口将在%1秒后关闭.").arg(secondsLeft);
}

// Lines twelve pixels apart, each line's letters in the middle of its
// twelve pixels whatever the font's own line spacing: the warning's two
// lines fit between y 16 and the rule at y 40. The letters are made no
// taller than ten pixels, so a gap stays between the lines and above the
// rule also where smoothing or a scaled screen widens their edges.
class PitchedLabel : public QLabel
{
public:
    PitchedLabel(const QString &text, QWidget *parent)
        : QLabel(text, parent)
    {
        QFont letters = font();
        for (int size = lineHeight; size > 6; --size) {
            letters.setPixelSize(size);
            if (QFontMetrics(letters).tightBoundingRect(QStringLiteral("国")).height() < lineHeight - 1)
                break;
        }
        setFont(letters);
        setTextFormat(Qt::PlainText);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        const QStringList lines = text().split(QLatin1Char('\n'));
        int width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        return {width, int(lines.size()) * lineHeight};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QFontMetricsF metrics(font());
        const QRectF letter = metrics.tightBoundingRect(QStringLiteral("国"));
        const qreal baseline = lineHeight / 2.0 - (letter.top() + letter.bottom()) / 2.0;
        const QStringList lines = text().split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(0, i * lineHeight + baseline), lines.at(i));
    }
};

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
    , m_lbTishi(new PitchedLabel(QStringLiteral("翎鹊时间管理器"), this))
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
    m_lbTishi->setText(QString(message).replace(QChar(13), QLatin1Char('\n')));
    setAccessibleDescription(m_lbTishi->text());
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

void ShutdownWarning::noteRequestSent(MissionId id)
{
    if (id != m_missionId)
        return;
    m_timer1->stop();
    done(userChoice);
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

void ShutdownWarning::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    announceAlert(this);
}

void ShutdownWarning::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
