#include "gui/editor/TimeField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

// The time of "14:30" or "9:5", typed without the seconds that the display
// format asks for.
std::optional<QTime> hoursAndMinutes(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt());
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

} // namespace

QValidator::State TimeField::validate(QString &input, int &pos) const
{
    const QValidator::State state = QTimeEdit::validate(input, pos);
    if (state == QValidator::Invalid && hoursAndMinutes(input))
        return QValidator::Intermediate;
    return state;
}

void TimeField::takeTypedMinute()
{
    if (const std::optional<QTime> typed = hoursAndMinutes(lineEdit()->text()))
        setTime(*typed);
}

void TimeField::focusOutEvent(QFocusEvent *event)
{
    takeTypedMinute();
    QTimeEdit::focusOutEvent(event);
}

void TimeField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        takeTypedMinute();
    QTimeEdit::keyPressEvent(event);
}
