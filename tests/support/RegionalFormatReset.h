#pragma once

#include "core/text/RegionalFormat.h"

// The regional format the tests start from, whatever the machine's: dates
// yyyy-M-d, times H:mm:ss, and the given decimal separator.
inline void resetRegionalFormat(QChar decimalSeparator = QLatin1Char('.'))
{
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("yyyy-M-d"), QStringLiteral("H:mm:ss"), decimalSeparator));
}
