#pragma once

#include "doubles/TestPlatform.h"
#include "gui/mainwindow/MainWindow.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The main window as the gui tests build it: on the test doubles, in a
// temporary program folder of its own. The window is made on first use, so
// a test can put files (config.ini, everyday.mis, db.mdb) in the folder or
// swap a service first. Everything goes when the fixture goes.
class MainWindowFixture
{
public:
    TestPlatform platform;
    // What the window is handed; a test may replace a service before form().
    PlatformServices services = platform.services();

    MainWindowFixture() { QVERIFY2(m_dir.isValid(), "no temporary program folder"); }

    // The program folder, ending in a slash as the window takes it.
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    MainWindow &form()
    {
        if (!m_form)
            m_form = std::make_unique<MainWindow>(services, folder());
        return *m_form;
    }
    bool hasForm() const { return m_form != nullptr; }
    void dropForm() { m_form.reset(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_form;
};
