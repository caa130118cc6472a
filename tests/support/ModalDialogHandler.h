#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>

// Answers the modal dialog that the code under test opens with exec(),
// which returns only once the dialog is closed. From the moment it is made,
// the handler looks every few milliseconds for an active modal dialog of
// type `Dialog` and hands it to `handle` once. Whatever `handle` does, the
// dialog is closed afterwards: a check in `handle` that fails has recorded
// its failure and returned early, and the test goes on instead of waiting
// forever. After the call that opened the dialog the test checks
// QVERIFY(handler.waitHandled()) and QVERIFY(!handler.closedForIt()).
template <typename Dialog> class ModalDialogHandler
{
public:
    explicit ModalDialogHandler(std::function<void(Dialog *)> handle)
        : m_handle(std::move(handle))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { look(); });
        m_timer.start();
    }

    bool handled() const { return m_handled; }
    // The dialog was still open after `handle`, and was closed here.
    bool closedForIt() const { return m_closedForIt; }

    // Whether the dialog has been handled, waiting for it at most
    // `timeoutMs` (for a dialog opened from the event loop, not by exec()).
    bool waitHandled(int timeoutMs = 5000) const
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_handled && !deadline.hasExpired())
            QTest::qWait(10);
        return m_handled;
    }

private:
    void look()
    {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_timer.stop();
        m_handled = true;
        QPointer<Dialog> open = dialog;
        m_handle(dialog);
        if (open && open->isVisible()) {
            m_closedForIt = true;
            open->reject();
        }
    }

    std::function<void(Dialog *)> m_handle;
    QTimer m_timer;
    bool m_handled = false;
    bool m_closedForIt = false;
};
