#pragma once

#include <QString>

#include <QList>

#include <functional>
#include <utility>

// Shows a short notice outside the program's own windows.
class Notifier
{
public:
    virtual ~Notifier() = default;
    // `onClicked`, when given, runs when the user clicks the notice itself.
    virtual void notify(const QString &title, const QString &text, int timeoutMs,
                        std::function<void()> onClicked = {}) = 0;
    // Whether a notice reaches the user at all (the desktop has a service
    // that shows them).
    virtual bool canNotify() const = 0;

    // A choice offered on a notice: its key and the label of its button.
    using Choice = std::pair<QString, QString>;
    // A notice with a button for each of `choices`; `onChosen` gets the key
    // of the one the user presses. Where buttons cannot be shown, the
    // notice alone.
    virtual void notifyWithChoices(const QString &title, const QString &text, int timeoutMs,
                                   const QList<Choice> & /*choices*/, std::function<void(const QString &)> /*onChosen*/)
    {
        notify(title, text, timeoutMs);
    }
};
