#pragma once

#include <QObject>
#include <QString>

// Draws every window of the program in one skin, or in the plain Qt look
// when switched off. It starts switched on with the built-in skin. The sheet
// goes to the whole application, so dialogs opened later wear it too.
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

private:
    void apply();

    bool m_active = true;
    QString m_skinName;
    QString m_sheet;
};
