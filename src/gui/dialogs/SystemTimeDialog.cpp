#include "gui/dialogs/SystemTimeDialog.h"

#include "core/missions/SecondTimer.h"
#include "core/text/RegionalFormat.h"
#include "gui/widgets/ChineseCalendar.h"
#include "gui/widgets/DialogLook.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Icons.h"
#include "platform/Clock.h"
#include "platform/SystemTimeSetter.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>

namespace {

template <typename T> T *placed(T *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

SystemTimeDialog::SystemTimeDialog(const PlatformServices &platform, QWidget *parent)
    : QDialog(parent)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("frmSystemTime"));
    setWindowTitle(QStringLiteral("系统时间设置"));
    setFont(songTiPixelFont(12));
    setFixedSize(314, 378);

    auto *image = placed(new QLabel(this), "Image1", 16, 8, 32, 32);
    image->setPixmap(applicationIcon().pixmap(32, 32));
    image->setAccessibleName(QStringLiteral("时钟"));
    auto *caption = placed(new QLabel(QStringLiteral("系统时间设定"), this), "Label1", 64, 16, 160, 16);
    QFont captionFont = caption->font();
    captionFont.setBold(true);
    caption->setFont(captionFont);
    auto *bevel = placed(new QFrame(this), "Bevel1", 16, 48, 281, 2);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto *readBox = placed(new QGroupBox(QStringLiteral("获取时间"), this), "GroupBox1", 16, 56, 281, 209);
    m_clockText = placed(new QLabel(QStringLiteral("0000-00-00 00:00:00"), readBox), "StaticText1", 88, 16, 118, 16);
    m_clockText->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_clockText->setAlignment(Qt::AlignCenter);
    // Wider than 118 where the font's figures need it, about the same middle.
    const int clockWidth = std::max(118, m_clockText->sizeHint().width());
    m_clockText->setGeometry(88 - (clockWidth - 118) / 2, 16, clockWidth, 16);
    m_calendar = placed(new QCalendarWidget(readBox), "Calendar1", 8, 48, 265, 153);
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    m_calendar->setGridVisible(false);
    useChineseNames(m_calendar);
    // The grid is smaller than the style's preferred cells: let the six weeks
    // and seven days share the room instead of running over its edges.
    if (auto *cells = m_calendar->findChild<QTableView *>()) {
        cells->horizontalHeader()->setMinimumSectionSize(1);
        cells->verticalHeader()->setMinimumSectionSize(1);
    }

    auto *setBox = placed(new QGroupBox(QStringLiteral("设定时间"), this), "GroupBox2", 16, 272, 281, 89);
    m_date = placed(new QDateEdit(setBox), "dtDate", 16, 21, 161, 22);
    m_date->setDisplayFormat(RegionalFormat::current().shortDatePattern());
    m_date->setCalendarPopup(true);
    useChineseNames(m_date->calendarWidget());
    m_time = placed(new QTimeEdit(setBox), "dtTime", 16, 53, 161, 22);
    m_time->setDisplayFormat(RegionalFormat::current().longTimePattern());
    // No labels beside them: screen readers tell the two fields apart so.
    m_date->setAccessibleName(QStringLiteral("设定日期"));
    m_time->setAccessibleName(QStringLiteral("设定时间"));
    m_setTime = placed(new QPushButton(buttonIcon(ButtonIcon::Ok), QStringLiteral("设定"), setBox), "btnSetTime", 192,
                       24, 73, 25);
    auto *close = placed(new QPushButton(buttonIcon(ButtonIcon::Close), QStringLiteral("关闭"), setBox), "btnClose",
                         192, 56, 73, 25);
    m_setTime->setAutoDefault(false);
    close->setAutoDefault(false);
    connect(m_setTime, &QPushButton::clicked, this, &SystemTimeDialog::setSystemTime);
    connect(close, &QPushButton::clicked, this, &SystemTimeDialog::closeDialog);

    m_timer = new SecondTimer(SecondTimer::JustAfter, this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &SecondTimer::timeout, this, &SystemTimeDialog::showClock);

    showCurrentTime();
}

void SystemTimeDialog::showCurrentTime()
{
    const QDateTime now = m_platform.clock->now();
    m_calendar->setSelectedDate(now.date());
    m_date->setDate(now.date());
    m_time->setTime(now.time());
    m_timer->setEnabled(true);
}

void SystemTimeDialog::showClock()
{
    m_clockText->setText(DateTimeToStr(m_platform.clock->now()));
}

void SystemTimeDialog::setSystemTime()
{
    const QDateTime wanted(m_date->date(), m_time->time(), Qt::LocalTime);
    // One request at a time: the answer may wait for a password prompt.
    m_setTime->setEnabled(false);
    m_platform.timeSetter->setLocalTime(wanted, this,
                                        [this](bool ok, const QString &reason) { showAnswer(ok, reason); });
}

void SystemTimeDialog::showAnswer(bool ok, const QString &reason)
{
    m_setTime->setEnabled(true);
    QMessageBox *box = makeNotice(QMessageBox::NoIcon, QStringLiteral("SetTimeAnswer"), applicationTitle(),
                                  ok ? QStringLiteral("设置系统时间成功!") : QStringLiteral("设置系统时间错误!"), this);
    box->setInformativeText(reason);
    box->open();
}

void SystemTimeDialog::closeDialog()
{
    close();
}
