#pragma once

#include <QTimeEdit>

// The editor's time field: a time typed with hours and minutes only
// ("14:30", the seconds left alone) is taken as that minute's first second
// when the field is left or Enter is pressed.
class TimeField : public QTimeEdit
{
    Q_OBJECT

public:
    using QTimeEdit::QTimeEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeTypedMinute();

    bool m_typedMinute = false;
    bool m_typedSeconds = false;
    bool m_movedOnByDigit = false;
};
