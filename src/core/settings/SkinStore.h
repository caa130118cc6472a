#pragma once

#include <QObject>
#include <QString>

// The four stored skins, each a complete style sheet of our own compiled in
// with the resources: 0 skinMsn, 1 skinVista, 2 skinCool, 3 SkinCoolXuan.
class SkinStore : public QObject
{
    Q_OBJECT

public:
    explicit SkinStore(QObject *parent = nullptr);

    static constexpr int count() { return 4; }
    // The skin's name, or an empty text past the store's end.
    static QString skinName(int number);
    // The skin's style sheet, or an empty text past the store's end.
    static QString styleSheet(int number);
    // The look built into the main window: the same as SkinCoolXuan.
    static constexpr int builtInSkin() { return 3; }
};
