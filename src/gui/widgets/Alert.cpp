#include "gui/widgets/Alert.h"

#include <QAccessible>
#include <QWidget>

void announceAlert(QWidget *window)
{
    QAccessibleEvent event(window, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}
