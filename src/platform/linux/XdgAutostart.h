#pragma once

#include "platform/Autostart.h"

#include <optional>

// The XDG autostart entry of the user: ChronoDesk.desktop in the autostart
// folder of the user's configuration folder. Needs no administrator rights.
class XdgAutostart : public Autostart
{
public:
    // `entryPath` defaults to $XDG_CONFIG_HOME/autostart/ChronoDesk.desktop
    // (~/.config when the variable is unset).
    explicit XdgAutostart(const QString &entryPath = defaultEntryPath());

    static QString defaultEntryPath();
    // `path` as one argument of a desktop entry's Exec line; nothing when
    // it holds a control character the format cannot carry.
    static std::optional<QString> execArgument(const QString &path);

    QString entryPath() const { return m_entryPath; }

    bool isOn() const override;
    bool enable(const QString &programPath, QString *error) override;
    void disable() override;

private:
    QString m_entryPath;
};
