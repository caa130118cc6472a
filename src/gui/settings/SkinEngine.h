#pragma once

#include <QObject>
#include <QString>

// Draws every window of the program in one skin, or in the plain Qt look
// when switched off. It starts switched on with the built-in skin. The sheet
// goes to the whole application, so dialogs opened later wear it too.
class SkinStore;

class SkinEngine : public QObject
{
    Q_OBJECT

public:
    explicit SkinEngine(QObject *parent = nullptr);

    bool isActive() const { return m_active; }
    void setActive(bool active);
    // Loads stored skin `number`; a number past the store's end does nothing.
    void loadSkin(int number);
    // The name of the loaded skin ("SkinCoolXuan" for the built-in one).
    QString skinName() const { return m_skinName; }

    // The sheet of the plain Qt look: it holds no rule. Qt 6.4 crashes when
    // the application's sheet goes from set to empty and back while windows
    // come and go, so switching off never empties it.
    static QString plainStyleSheet();

private:
    void apply();

    SkinStore *m_store;
    bool m_active = true;
    QString m_skinName;
    QString m_sheet;
};
