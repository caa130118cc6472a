#pragma once

#include <QString>

// Starting the program with the user's desktop session.
class Autostart
{
public:
    virtual ~Autostart() = default;
    // On when an entry exists that starts something, whichever program it
    // names.
    virtual bool isOn() const = 0;
    // Writes the entry that starts `programPath`. Returns false when it
    // cannot be written, with a sentence in `error` that names the entry's
    // file and says why.
    virtual bool enable(const QString &programPath, QString *error) = 0;
    // Removes the entry; a failure leaves it where it was and says nothing.
    virtual void disable() = 0;
};
