#pragma once

#include <QIcon>

// The program's own pictures, compiled in.

// Commands of the tool bar, the navigation bar and the menus.
enum class CommandIcon { Add, Modify, Delete, Start, Pause, Stop, About };
QIcon commandIcon(CommandIcon icon);

// The icon of a mission row by its icon number (0 power, 1 program, 2 file,
// 3 message, 4 ring, 5 web page, 6 mail); out-of-range numbers get none.
QIcon missionRowIcon(int imageIndex);

QIcon applicationIcon();

// Any of our own icons by its file name in resources/icons, without ".svg".
QIcon namedIcon(const QString &name);

// Pictures on the buttons of dialogs.
enum class ButtonIcon { Ok, Close };
QIcon buttonIcon(ButtonIcon icon);
