#include "core/text/NumberText.h"

#include "core/text/RegionalFormat.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int significantDigits = 15;

} // namespace

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // Rounded to 15 significant digits first, so that the exponent that
    // chooses the notation is the one of the digits written.
    const QString scientific = QString::number(std::fabs(value), 'e', significantDigits - 1);
    const int ePos = scientific.indexOf(QLatin1Char('e'));
    QString digits = scientific.left(ePos);
    digits.remove(QLatin1Char('.'));
    const int exponent = scientific.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    const QChar separator = RegionalFormat::current().decimalSeparator();
    QString text;
    if (exponent >= -4 && exponent < significantDigits) {
        if (exponent < 0) {
            text = QStringLiteral("0") + separator + QString(-exponent - 1, QLatin1Char('0')) + digits;
        } else if (digits.size() > exponent + 1) {
            text = digits.left(exponent + 1) + separator + digits.mid(exponent + 1);
        } else {
            text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
        }
    } else {
        text = digits.left(1);
        if (digits.size() > 1)
            text += separator + digits.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

std::optional<double> StrToFloat(const QString &text)
{
    const QString separator = QRegularExpression::escape(QString(RegionalFormat::current().decimalSeparator()));
    const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?$").arg(separator));
    QString number = text.trimmed();
    if (!decimal.match(number).hasMatch())
        return std::nullopt;
    number.replace(RegionalFormat::current().decimalSeparator(), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}
