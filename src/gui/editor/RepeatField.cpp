#include "gui/editor/RepeatField.h"

#include "core/missions/RepeatRule.h"
#include "core/text/RegionalFormat.h"
#include "gui/widgets/ChineseCalendar.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QSpinBox>
#include <QStackedWidget>

namespace {

// The weekdays as iCalendar names them, Monday first like QDate.
const char *const dayCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
const char *const dayNames[] = {"一", "二", "三", "四", "五", "六", "日"};

enum DetailPage { NoDetail, WeekdayDetail, MonthDetail, IntervalDetail, OtherDetail };
enum EndChoice { EndNever, EndAfterCount, EndOnDate };

const QString untilFormat = QStringLiteral("yyyyMMdd'T'HHmmss");

} // namespace

RepeatField::RepeatField(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("repeatField"));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);

    m_repeat = new QComboBox(this);
    m_repeat->setObjectName(QStringLiteral("cbRepeat"));
    m_repeat->addItems({QStringLiteral("不重复"), QStringLiteral("每天"), QStringLiteral("工作日(周一至周五)"),
                        QStringLiteral("每周"), QStringLiteral("每月"), QStringLiteral("每隔 N 分钟"),
                        QStringLiteral("每隔 N 小时")});
    auto *repeatLabel = new QLabel(QStringLiteral("重复(&R):"), this);
    repeatLabel->setBuddy(m_repeat);
    m_repeat->setAccessibleName(QStringLiteral("重复"));

    m_details = new QStackedWidget(this);
    m_details->setObjectName(QStringLiteral("repeatDetails"));
    m_details->addWidget(new QWidget(m_details));

    auto *weekdays = new QWidget(m_details);
    auto *weekdayLayout = new QHBoxLayout(weekdays);
    weekdayLayout->setContentsMargins(0, 0, 0, 0);
    weekdayLayout->setSpacing(4);
    for (int day = 0; day < 7; ++day) {
        m_weekdays[day] = new QCheckBox(QString::fromUtf8(dayNames[day]), weekdays);
        m_weekdays[day]->setObjectName(QStringLiteral("ckDay%1").arg(dayCodes[day]));
        m_weekdays[day]->setAccessibleName(QStringLiteral("周") + QString::fromUtf8(dayNames[day]));
        weekdayLayout->addWidget(m_weekdays[day]);
    }
    weekdayLayout->addStretch(1);
    m_details->addWidget(weekdays);

    // iCalendar passes over a month that lacks the day; the editor says so.
    m_monthNote = new QLabel(QStringLiteral("在执行日期的同一天；没有这一天的月份(如 31 日)跳过。"), m_details);
    m_monthNote->setObjectName(QStringLiteral("lbMonthNote"));
    m_monthNote->setWordWrap(true);
    m_details->addWidget(m_monthNote);

    auto *interval = new QWidget(m_details);
    auto *intervalLayout = new QHBoxLayout(interval);
    intervalLayout->setContentsMargins(0, 0, 0, 0);
    auto *intervalLabel = new QLabel(QStringLiteral("每隔(&N)"), interval);
    m_interval = new QSpinBox(interval);
    m_interval->setObjectName(QStringLiteral("seInterval"));
    m_interval->setRange(1, 999);
    m_interval->setValue(30);
    intervalLabel->setBuddy(m_interval);
    m_intervalUnit = new QLabel(interval);
    intervalLayout->addWidget(intervalLabel);
    intervalLayout->addWidget(m_interval);
    intervalLayout->addWidget(m_intervalUnit);
    intervalLayout->addStretch(1);
    m_details->addWidget(interval);

    m_otherRule = new QLabel(m_details);
    m_otherRule->setObjectName(QStringLiteral("lbOtherRule"));
    m_otherRule->setWordWrap(true);
    m_details->addWidget(m_otherRule);

    m_endRow = new QWidget(this);
    auto *endLayout = new QHBoxLayout(m_endRow);
    endLayout->setContentsMargins(0, 0, 0, 0);
    m_end = new QComboBox(m_endRow);
    m_end->setObjectName(QStringLiteral("cbRepeatEnd"));
    m_end->addItems({QStringLiteral("永不结束"), QStringLiteral("按次数结束"), QStringLiteral("按日期结束")});
    m_end->setAccessibleName(QStringLiteral("重复结束"));
    m_count = new QSpinBox(m_endRow);
    m_count->setObjectName(QStringLiteral("seRepeatCount"));
    m_count->setRange(1, 9999);
    m_count->setValue(10);
    m_count->setSuffix(QStringLiteral(" 次"));
    m_count->setAccessibleName(QStringLiteral("执行次数"));
    m_until = new QDateEdit(m_endRow);
    m_until->setObjectName(QStringLiteral("dpRepeatUntil"));
    m_until->setCalendarPopup(true);
    useChineseNames(m_until->calendarWidget());
    m_until->setAccessibleName(QStringLiteral("截止日期"));
    endLayout->addWidget(m_end);
    endLayout->addWidget(m_count);
    endLayout->addWidget(m_until);
    endLayout->addStretch(1);
    auto *endLabel = new QLabel(QStringLiteral("结束(&J):"), this);
    endLabel->setBuddy(m_end);

    layout->addWidget(repeatLabel, 0, 0);
    layout->addWidget(m_repeat, 0, 1, Qt::AlignLeft);
    layout->addWidget(m_details, 1, 0, 1, 2);
    layout->addWidget(endLabel, 2, 0);
    layout->addWidget(m_endRow, 2, 1);
    layout->setColumnStretch(1, 1);

    connect(m_repeat, &QComboBox::currentIndexChanged, this, &RepeatField::showChoice);
    connect(m_end, &QComboBox::currentIndexChanged, this, &RepeatField::showEnd);
    showChoice();
}

RepeatField::Choice RepeatField::choice() const
{
    return Choice(m_repeat->currentIndex());
}

void RepeatField::setChoice(Choice choice)
{
    m_repeat->setCurrentIndex(choice);
}

void RepeatField::showChoice()
{
    const Choice chosen = choice();
    switch (chosen) {
    case Weekly: m_details->setCurrentIndex(WeekdayDetail); break;
    case Monthly: m_details->setCurrentIndex(MonthDetail); break;
    case EveryMinutes:
    case EveryHours:
        m_details->setCurrentIndex(IntervalDetail);
        m_intervalUnit->setText(chosen == EveryMinutes ? QStringLiteral("分钟") : QStringLiteral("小时"));
        m_interval->setAccessibleName(chosen == EveryMinutes ? QStringLiteral("间隔分钟数")
                                                             : QStringLiteral("间隔小时数"));
        break;
    case OtherRule: m_details->setCurrentIndex(OtherDetail); break;
    default: m_details->setCurrentIndex(NoDetail); break;
    }
    m_endRow->setEnabled(chosen != Once && chosen != OtherRule);
    showEnd();
}

void RepeatField::showEnd()
{
    m_count->setVisible(m_end->currentIndex() == EndAfterCount);
    m_until->setVisible(m_end->currentIndex() == EndOnDate);
}

QString RepeatField::rule(const QDate &firstDay) const
{
    QString rule;
    switch (choice()) {
    case Once: return {};
    case OtherRule: return m_otherRuleText;
    case Daily: rule = RepeatRule::dailyRule(); break;
    case Weekdays: rule = RepeatRule::weekdaysRule(); break;
    case Weekly: {
        QStringList days;
        for (int day = 0; day < 7; ++day) {
            if (m_weekdays[day]->isChecked())
                days << QLatin1String(dayCodes[day]);
        }
        if (days.isEmpty())
            days << QLatin1String(dayCodes[firstDay.dayOfWeek() - 1]);
        rule = QStringLiteral("FREQ=WEEKLY;BYDAY=") + days.join(QLatin1Char(','));
        break;
    }
    case Monthly: rule = QStringLiteral("FREQ=MONTHLY"); break;
    case EveryMinutes:
    case EveryHours:
        rule = choice() == EveryMinutes ? QStringLiteral("FREQ=MINUTELY") : QStringLiteral("FREQ=HOURLY");
        if (m_interval->value() > 1)
            rule += QStringLiteral(";INTERVAL=%1").arg(m_interval->value());
        break;
    }
    if (m_end->currentIndex() == EndAfterCount)
        rule += QStringLiteral(";COUNT=%1").arg(m_count->value());
    else if (m_end->currentIndex() == EndOnDate)
        rule += QStringLiteral(";UNTIL=") + QDateTime(m_until->date(), QTime(23, 59, 59)).toString(untilFormat);
    return rule;
}

void RepeatField::setRule(const QString &rule, const QString &description)
{
    if (m_repeat->count() > OtherRule)
        m_repeat->removeItem(OtherRule);
    m_otherRuleText.clear();
    m_until->setDisplayFormat(RegionalFormat::current().shortDatePattern());
    for (QCheckBox *box : m_weekdays)
        box->setChecked(false);
    m_end->setCurrentIndex(EndNever);

    QMap<QString, QString> parts;
    for (const QString &part : rule.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        parts.insert(part.section(QLatin1Char('='), 0, 0).toUpper(), part.section(QLatin1Char('='), 1));
    if (parts.contains(QStringLiteral("COUNT"))) {
        m_end->setCurrentIndex(EndAfterCount);
        m_count->setValue(parts.take(QStringLiteral("COUNT")).toInt());
    } else if (parts.contains(QStringLiteral("UNTIL"))) {
        m_end->setCurrentIndex(EndOnDate);
        m_until->setDate(QDate::fromString(parts.take(QStringLiteral("UNTIL")).left(8), QStringLiteral("yyyyMMdd")));
    }
    const QString frequency = parts.take(QStringLiteral("FREQ"));
    const QString days = parts.take(QStringLiteral("BYDAY"));
    const int interval = parts.value(QStringLiteral("INTERVAL"), QStringLiteral("1")).toInt();
    const bool onlyInterval = parts.isEmpty() || (parts.size() == 1 && parts.contains(QStringLiteral("INTERVAL")));
    const QStringList dayList = days.split(QLatin1Char(','), Qt::SkipEmptyParts);
    const bool plainDays = std::all_of(dayList.cbegin(), dayList.cend(), [](const QString &day) {
        return std::find(std::begin(dayCodes), std::end(dayCodes), day) != std::end(dayCodes);
    });

    Choice chosen = OtherRule;
    if (rule.isEmpty())
        chosen = Once;
    else if (frequency == QLatin1String("DAILY") && days.isEmpty() && parts.isEmpty())
        chosen = Daily;
    else if (frequency == QLatin1String("WEEKLY") && days == QLatin1String("MO,TU,WE,TH,FR") && parts.isEmpty())
        chosen = Weekdays;
    else if (frequency == QLatin1String("WEEKLY") && plainDays && parts.isEmpty())
        chosen = Weekly;
    else if (frequency == QLatin1String("MONTHLY") && days.isEmpty() && parts.isEmpty())
        chosen = Monthly;
    else if ((frequency == QLatin1String("MINUTELY") || frequency == QLatin1String("HOURLY")) && days.isEmpty()
             && onlyInterval)
        chosen = frequency == QLatin1String("MINUTELY") ? EveryMinutes : EveryHours;

    if (chosen == Weekly) {
        for (int day = 0; day < 7; ++day)
            m_weekdays[day]->setChecked(dayList.contains(QLatin1String(dayCodes[day])));
    }
    if (chosen == EveryMinutes || chosen == EveryHours)
        m_interval->setValue(interval);
    if (chosen == OtherRule) {
        m_otherRuleText = rule;
        m_repeat->addItem(QStringLiteral("其他规则"));
        m_otherRule->setText(description.isEmpty() ? rule : description);
        m_end->setCurrentIndex(EndNever);
    }
    setChoice(chosen);
    showChoice();
}
