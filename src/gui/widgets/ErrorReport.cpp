#include "gui/widgets/ErrorReport.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {

void placeOverAsker(QWidget *box, const QWidget *asker)
{
    const QWidget *window = asker ? asker->window() : nullptr;
    const QScreen *screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect over = window && window->isVisible() ? window->frameGeometry() : area;
    if (!box->isVisible())
        box->adjustSize();
    // move() places the frame, which a shown window has.
    QRect place(QPoint(0, 0), box->isVisible() ? box->frameGeometry().size() : box->size());
    place.moveCenter(over.center());
    place.moveLeft(qBound(area.left(), place.left(), qMax(area.left(), area.right() + 1 - place.width())));
    place.moveTop(qBound(area.top(), place.top(), qMax(area.top(), area.bottom() + 1 - place.height())));
    box->move(place.topLeft());
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("翎鹊时间管理器");
}

QString errorReportText(const QString &error)
{
    static const QString sentenceEnds = QStringLiteral(".。!！?？");
    if (!error.isEmpty() && sentenceEnds.contains(error.back()))
        return error;
    return error + QLatin1Char('.');
}

QMessageBox *showErrorReport(QWidget *parent, const QString &error)
{
    QMessageBox *box = makeNotice(QMessageBox::Critical, QStringLiteral("ErrorReport"), applicationTitle(),
                                  errorReportText(error), parent);
    box->setWindowModality(Qt::ApplicationModal);
    showOverAsker(box, parent);
    return box;
}

QMessageBox *makeNotice(QMessageBox::Icon icon, const QString &objectName, const QString &title, const QString &text,
                        QWidget *parent)
{
    auto *box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    box->setObjectName(objectName);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void showOverAsker(QMessageBox *box, const QWidget *asker)
{
    placeOverAsker(box, asker);
    box->show();
    // A message box takes its final size as it is shown; the place follows.
    placeOverAsker(box, asker);
}
