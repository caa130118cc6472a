#include "gui/editor/TimeField.h"

#include <QKeyEvent>

void TimeField::focusInEvent(QFocusEvent *event)
{
    m_typedMinute = false;
    m_typedSeconds = false;
    QTimeEdit::focusInEvent(event);
}

void TimeField::takeTypedMinute()
{
    if (m_typedMinute && !m_typedSeconds)
        setTime(QTime(time().hour(), time().minute()));
    m_typedMinute = false;
    m_typedSeconds = false;
}

void TimeField::focusOutEvent(QFocusEvent *event)
{
    takeTypedMinute();
    QTimeEdit::focusOutEvent(event);
}

void TimeField::keyPressEvent(QKeyEvent *event)
{
    const bool digit = event->text().size() == 1 && event->text().front().isDigit();
    // "14:30": the field moves on to the minutes by itself after "14", so
    // the colon typed next must not move it on to the seconds.
    if (event->text() == QLatin1String(":") && m_movedOnByDigit) {
        m_movedOnByDigit = false;
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        takeTypedMinute();
    const Section before = currentSection();
    if (digit) {
        if (before == SecondSection)
            m_typedSeconds = true;
        else
            m_typedMinute = true;
    }
    QTimeEdit::keyPressEvent(event);
    m_movedOnByDigit = digit && currentSection() != before;
}
