#include "gui/dialogs/ProductInfo.h"

QString homepageAddress()
{
    return QStringLiteral(CHRONODESK_HOMEPAGE);
}

QString feedbackAddress()
{
    return QStringLiteral("feedback@chronodesk.example.org");
}
