#include "platform/linux/SystemBus.h"

#include <QtGlobal>

std::optional<QDBusConnection> systemBusOutsideTests(const char *backEnd)
{
    if (qEnvironmentVariableIsSet("CHRONODESK_TESTING")) {
        qWarning("%s: CHRONODESK_TESTING is set, so the system bus is not used and no request is sent", backEnd);
        return std::nullopt;
    }
    return QDBusConnection::systemBus();
}
