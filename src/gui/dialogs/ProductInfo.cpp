#include "ProductInfo.h"

QString homepageAddress()
{
    return QStringLiteral("https://chronodesk.example.org/");
}

QString feedbackAddress()
{
    return QStringLiteral("feedback@chronodesk.example.org");
}
