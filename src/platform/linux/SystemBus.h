#pragma once

#include <QDBusConnection>

#include <optional>

// The system bus for a back-end that talks to a system service (logind,
// timedated), or nothing when CHRONODESK_TESTING is set: a test must hand
// such a back-end its own private bus, so that no test run can power off or
// set the clock of the machine it runs on. A refusal is logged once, naming
// the back-end.
std::optional<QDBusConnection> systemBusOutsideTests(const char *backEnd);
