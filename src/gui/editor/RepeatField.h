#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QStackedWidget;

// The editor's "重复" control: how a mission repeats (不重复, 每天, 工作日,
// 每周 on ticked weekdays, 每月 on the same day, every N minutes or hours)
// and when the repeating ends (never, after N times, on a date). It reads
// and writes the choice as an RRULE; a rule it has no controls for (one
// given by a script) is shown in words and kept as it is.
class RepeatField : public QWidget
{
    Q_OBJECT

public:
    enum Choice { Once, Daily, Weekdays, Weekly, Monthly, EveryMinutes, EveryHours, OtherRule };

    explicit RepeatField(QWidget *parent = nullptr);

    // The RRULE chosen; empty for 不重复. `firstDay` is the day the series
    // starts on: 每周 with no day ticked repeats on its weekday.
    QString rule(const QDate &firstDay) const;
    // Shows `rule` (empty: 不重复), and `description` for a rule the
    // controls cannot show.
    void setRule(const QString &rule, const QString &description = {});
    void reset() { setRule({}); }

    Choice choice() const;
    void setChoice(Choice choice);
    QCheckBox *weekdayBox(int dayOfWeek) const { return m_weekdays[dayOfWeek - 1]; }
    QSpinBox *intervalBox() const { return m_interval; }
    QComboBox *endChoice() const { return m_end; }
    QSpinBox *countBox() const { return m_count; }
    QDateEdit *untilBox() const { return m_until; }

private:
    void showChoice();
    void showEnd();

    QComboBox *m_repeat = nullptr;
    QStackedWidget *m_details = nullptr;
    QCheckBox *m_weekdays[7] = {};
    QLabel *m_monthNote = nullptr;
    QSpinBox *m_interval = nullptr;
    QLabel *m_intervalUnit = nullptr;
    QLabel *m_otherRule = nullptr;
    QString m_otherRuleText;
    QWidget *m_endRow = nullptr;
    QComboBox *m_end = nullptr;
    QSpinBox *m_count = nullptr;
    QDateEdit *m_until = nullptr;
};
