#include "gui/editor/QuickTimeButton.h"

#include "core/missions/MissionComposer.h"
#include "platform/Clock.h"

#include <QMenu>

QuickTimeButton::QuickTimeButton(const Clock *clock, QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("btnQuickTime"));
    setText(QStringLiteral("快捷(&Q)"));
    setToolTip(QStringLiteral("把执行日期和时间设为常用的时刻"));
    setAccessibleName(QStringLiteral("快捷时间"));
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::StrongFocus);
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("quickTimeMenu"));
    const std::pair<const char *, QuickTime> entries[] = {
        {"5 分钟后", QuickTime::InFiveMinutes},
        {"30 分钟后", QuickTime::InThirtyMinutes},
        {"1 小时后", QuickTime::InOneHour},
        {"明天 8:00", QuickTime::TomorrowAtEight},
    };
    for (const auto &[text, quickTime] : entries) {
        const QuickTime chosen = quickTime;
        menu->addAction(QString::fromUtf8(text), this,
                        [this, clock, chosen] { emit momentChosen(quickMoment(chosen, clock->now())); });
    }
    setMenu(menu);
}
