#include "gui/settings/SkinEngine.h"

#include "core/settings/SkinStore.h"

#include <QApplication>

SkinEngine::SkinEngine(QObject *parent)
    : QObject(parent)
    , m_store(new SkinStore(this))
    , m_skinName(SkinStore::skinName(SkinStore::builtInSkin()))
    , m_sheet(SkinStore::styleSheet(SkinStore::builtInSkin()))
{
    setObjectName(QStringLiteral("SkinData1"));
    apply();
}

void SkinEngine::setActive(bool active)
{
    m_active = active;
    apply();
}

void SkinEngine::loadSkin(int number)
{
    if (number < 0 || number >= SkinStore::count())
        return;
    m_skinName = SkinStore::skinName(number);
    m_sheet = SkinStore::styleSheet(number);
    apply();
}

void SkinEngine::apply()
{
    // Restyling every window is costly: only when the look really changes.
    const QString sheet = m_active ? m_sheet : plainStyleSheet();
    if (qApp->styleSheet() != sheet)
        qApp->setStyleSheet(sheet);
}

QString SkinEngine::plainStyleSheet()
{
    return QStringLiteral("/* the plain look: no rules */");
}
