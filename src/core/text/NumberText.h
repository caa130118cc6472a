#pragma once

#include <QString>

#include <optional>

// Number texts in the user's regional format, under their customary names.

// The general number format: at most 15 significant digits, no trailing
// zeros, the decimal separator only when decimals follow, no thousands
// separators. Plain notation from 0.0001 up to below 10^15 (and 0),
// scientific otherwise ("7.5E-5", "1E15").
QString FloatToStr(double value);

// Decimal notation with the regional decimal separator, an optional sign and
// an optional exponent; blanks around the number are ignored. Nothing for
// any other text.
std::optional<double> StrToFloat(const QString &text);
