#include "core/missions/MissionModel.h"
#include "core/missions/MissionRunner.h"
#include "core/powerlog/PowerLogQuery.h"
#include "core/powerlog/PowerLogStore.h"
#include "core/settings/SkinStore.h"
#include "doubles/RecordingLive.h"
#include "gui/daily/DailyMissionsDialog.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/SystemTimeDialog.h"
#include "gui/dialogs/VersionHistoryDialog.h"
#include "gui/editor/MissionEditor.h"
#include "gui/editor/RepeatField.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/MessagePopup.h"
#include "gui/mainwindow/ShutdownWarning.h"
#include "gui/powerstats/PowerStatsWindow.h"
#include "gui/settings/SettingsDialog.h"
#include "support/MainWindowFixture.h"
#include "support/RegionalFormatReset.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include <map>
#include <memory>
#include <typeinfo>

// Every window in every look: each text the user must read is whole, no
// control lies over its neighbour or past its window's edge, and every text
// stands out from what is drawn behind it. Run with CHRONODESK_CONTACT_SHEETS
// set to a folder, it also leaves there one picture per look with every
// window side by side, and the editor's repeat control and the list with its
// repeating rows on their own.
namespace {

constexpr int lookCount = 5;
constexpr double leastContrast = 4.5;

const char *const windowNames[] = {"main window",      "editor: power",    "editor: program", "editor: file",
                                   "editor: message",  "editor: ring",     "editor: web",     "editor: mail",
                                   "editor: repeat",   "shutdown warning", "message popup",   "daily missions",
                                   "power statistics", "settings",         "system time",     "about",
                                   "version history"};

double luminance(QColor colour)
{
    auto channel = [](double value) {
        value /= 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What the text in `area` is drawn on: the commonest colour (near colours,
// as in a gradient, counted as one) among the pixels that are not the text
// itself or its smoothed edge; the commonest of all when every pixel is
// close to the text colour.
QColor backgroundIn(const QImage &image, const QRect &area, QColor text)
{
    struct Bucket
    {
        int count = 0;
        qint64 red = 0, green = 0, blue = 0;
        QColor mean() const { return QColor(int(red / count), int(green / count), int(blue / count)); }
    };
    std::map<QRgb, Bucket> apart;
    std::map<QRgb, Bucket> all;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const QRgb key = qRgb(pixel.red() >> 4, pixel.green() >> 4, pixel.blue() >> 4);
            for (auto *buckets : {&all, contrast(pixel, text) >= 1.5 ? &apart : nullptr}) {
                if (!buckets)
                    continue;
                Bucket &bucket = (*buckets)[key];
                ++bucket.count;
                bucket.red += pixel.red();
                bucket.green += pixel.green();
                bucket.blue += pixel.blue();
            }
        }
    }
    const auto &from = apart.empty() ? all : apart;
    if (from.empty())
        return {};
    return std::max_element(from.begin(), from.end(),
                            [](const auto &a, const auto &b) { return a.second.count < b.second.count; })
        ->second.mean();
}

// Where a line edit draws its text: the styled contents less its text
// margins and the two pixels it keeps at each side.
QRect lineEditTextArea(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    QRect area = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    area = area.marginsRemoved(edit->textMargins());
    return area.adjusted(2, 0, -2, 0);
}

QStyleOptionButton buttonOption(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    if (const auto *push = qobject_cast<const QPushButton *>(button)) {
        if (push->isFlat())
            option.features |= QStyleOptionButton::Flat;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
    }
    return option;
}

// The room a control gives its text, and the text it shows; an empty text
// for controls that show none.
struct TextRoom
{
    QRect area;
    QString text;
    QSize needed;
    QColor colour;
};

TextRoom textRoom(QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    // The room the text's letters take: its widest line, and from the top
    // of the first line's letters to the foot of the last line's.
    auto ink = [&metrics](QString text) {
        text.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
        const QStringList lines = text.split(QLatin1Char('\n'));
        int width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.boundingRect(line).width());
        const QRect first = metrics.tightBoundingRect(lines.constFirst());
        const QRect last = metrics.tightBoundingRect(lines.constLast());
        return QSize(width, int(lines.size() - 1) * metrics.lineSpacing() + last.bottom() - first.top() + 1);
    };
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty())
            return {};
        const QRect area =
            label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        QSize needed;
        // A label of the program's own that draws its text its own way
        // knows best what it needs.
        if (typeid(*label) != typeid(QLabel))
            needed = label->sizeHint();
        else if (label->textFormat() == Qt::RichText
                 || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            document.setHtml(label->text());
            if (label->wordWrap())
                document.setTextWidth(area.width());
            needed = document.size().toSize();
        } else if (label->wordWrap()) {
            needed = metrics.boundingRect(area, Qt::TextWordWrap, label->text()).size();
        } else {
            needed = ink(label->text());
        }
        return {area, label->text(), needed, label->palette().color(label->foregroundRole())};
    }
    if (auto *check = qobject_cast<QCheckBox *>(widget)) {
        const QStyleOptionButton option = buttonOption(check);
        return {check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check), check->text(),
                ink(check->text()), check->palette().color(check->foregroundRole())};
    }
    if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
        const QStyleOptionButton option = buttonOption(radio);
        return {radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio), radio->text(),
                ink(radio->text()), radio->palette().color(radio->foregroundRole())};
    }
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        if (button->text().isEmpty())
            return {};
        const QStyleOptionButton option = buttonOption(button);
        QSize needed = ink(button->text());
        if (!button->icon().isNull())
            needed.rwidth() += button->iconSize().width() + 4;
        return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button), button->text(), needed,
                button->palette().color(QPalette::ButtonText)};
    }
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        const QString shown = edit->displayText();
        if (shown.isEmpty())
            return {};
        QRect area = lineEditTextArea(edit);
        // A spin box's field lies inside the box: measured where it is.
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
            area = area.intersected(spin->rect().translated(-edit->pos()));
        // A field scrolls what is wider than it: measured by the advance.
        return {area, shown, QSize(metrics.horizontalAdvance(shown), ink(shown).height()),
                edit->palette().color(QPalette::Text)};
    }
    return {};
}

// Where a control's text or input lies in its parent: for a label the
// text's own place inside it, for any other control all of it; empty for a
// picture.
QRect occupied(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty())
            return {};
        const TextRoom room = textRoom(label);
        const QSize size = room.needed.boundedTo(room.area.size());
        return QStyle::alignedRect(label->layoutDirection(), label->alignment(), size, room.area)
            .translated(label->pos());
    }
    return widget->geometry();
}

bool isChecked(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QPushButton *>(widget)
           || qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget)
           || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget);
}

QString nameOf(const QWidget *widget)
{
    // A spin box's field goes by the box's name.
    if (qobject_cast<const QAbstractSpinBox *>(widget->parentWidget()))
        widget = widget->parentWidget();
    QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        name = QString::fromLatin1(widget->metaObject()->className());
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        name += QStringLiteral(" \"%1\"").arg(label->text());
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        name += QStringLiteral(" \"%1\"").arg(button->text());
    return name;
}

// Everything wrong with what `window` shows, one line each.
QStringList readabilityFaults(QWidget *window)
{
    QStringList faults;
    // A focused field shows a selection: the text is read without one.
    if (QWidget *focused = window->focusWidget())
        focused->clearFocus();
    const QImage picture = window->grab().toImage();
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window) || !isChecked(widget))
            continue;
        const QString name = nameOf(widget);
        QWidget *parent = widget->parentWidget();
        // A spin box's field is checked for its text only.
        const bool inSpinBox = qobject_cast<QAbstractSpinBox *>(parent);
        if (!inSpinBox && !parent->rect().contains(widget->geometry()))
            faults << QStringLiteral("%1 at %2,%3 %4×%5 runs past its parent %6×%7")
                          .arg(name)
                          .arg(widget->x())
                          .arg(widget->y())
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(parent->width())
                          .arg(parent->height());
        const QRect place = occupied(widget);
        if (!inSpinBox && !place.isEmpty()) {
            // Each pair once: with the sibling found later in the list.
            const QList<QWidget *> siblings = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            for (qsizetype i = siblings.indexOf(widget) + 1; i < siblings.size(); ++i) {
                QWidget *sibling = siblings.at(i);
                if (sibling->isVisibleTo(window) && isChecked(sibling) && occupied(sibling).intersects(place))
                    faults << QStringLiteral("%1 overlaps %2").arg(name, nameOf(sibling));
            }
        }

        const TextRoom room = textRoom(widget);
        if (room.text.isEmpty())
            continue;
        if (room.needed.width() > room.area.width() || room.needed.height() > room.area.height())
            faults << QStringLiteral("%1 needs %2×%3 for \"%4\" but has %5×%6")
                          .arg(name)
                          .arg(room.needed.width())
                          .arg(room.needed.height())
                          .arg(room.text)
                          .arg(room.area.width())
                          .arg(room.area.height());
        const QRect onPicture(widget->mapTo(window, room.area.topLeft()), room.area.size());
        const QColor background = backgroundIn(picture, onPicture, room.colour);
        if (background.isValid() && contrast(room.colour, background) < leastContrast)
            faults << QStringLiteral("%1: text %2 on %3, contrast %4 : 1")
                          .arg(name, room.colour.name(), background.name())
                          .arg(contrast(room.colour, background), 0, 'f', 1);
    }
    return faults;
}

// How far the ink in `area` stands out from what it is drawn on: the
// commonest colour there (near colours counted as one) against the pixel
// that differs from it most. For texts drawn by the style, whose colour no
// palette tells: group-box titles, headers, selected rows, menu items.
double inkContrast(const QImage &image, const QRect &area)
{
    const QRect inside = area.intersected(image.rect());
    std::map<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ++counts[qRgb(pixel.red() >> 3 << 3, pixel.green() >> 3 << 3, pixel.blue() >> 3 << 3)];
        }
    if (counts.empty())
        return 0;
    const QColor ground(std::max_element(counts.begin(), counts.end(), [](const auto &a, const auto &b) {
                            return a.second < b.second;
                        })->first);
    double most = 1;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            most = std::max(most, contrast(image.pixelColor(x, y), ground));
    return most;
}

QString contrastFault(const QString &what, double measured)
{
    if (measured >= leastContrast)
        return {};
    return QStringLiteral("%1: contrast %2 : 1").arg(what).arg(measured, 0, 'f', 1);
}

// The texts the style draws itself: navigation group headers, group-box
// titles and the first row of every list, selected.
QStringList styledTextFaults(QWidget *window, bool withSelection)
{
    QStringList faults;
    QList<QAbstractItemView *> views = window->findChildren<QAbstractItemView *>();
    views.removeIf([](QAbstractItemView *view) { return qobject_cast<QHeaderView *>(view); });
    if (withSelection) {
        for (QAbstractItemView *view : views)
            if (view->isVisibleTo(window) && view->model() && view->model()->rowCount() > 0
                && !qobject_cast<QCalendarWidget *>(view->parentWidget()))
                view->selectionModel()->select(view->model()->index(0, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    const QImage picture = window->grab().toImage();
    auto onPicture = [window](QWidget *widget, const QRect &area) {
        return QRect(widget->mapTo(window, area.topLeft()), area.size());
    };
    for (QToolButton *header : window->findChildren<QToolButton *>()) {
        if (!header->property("navGroupHeader").toBool() || !header->isVisibleTo(window))
            continue;
        // Inside the header's edge, which is no text.
        const QRect area = onPicture(header, header->rect().adjusted(3, 3, -3, -3));
        faults << contrastFault(nameOf(header), inkContrast(picture, area));
    }
    for (QToolButton *browse : window->findChildren<QToolButton *>()) {
        // The "…" beside a file name (the ring page's is too narrow to show
        // it) and 快捷 beside the time.
        const bool quickTimes = browse->objectName() == QLatin1String("btnQuickTime");
        if ((!browse->property("browseButton").toBool() && !quickTimes) || !browse->isVisibleTo(window)
            || browse->width() < 12)
            continue;
        const QString name = quickTimes ? browse->objectName() : browse->parentWidget()->objectName() + " \"…\"";
        faults << contrastFault(name, inkContrast(picture, onPicture(browse, browse->rect().adjusted(2, 2, -2, -2))));
    }
    for (QGroupBox *box : window->findChildren<QGroupBox *>()) {
        if (box->title().isEmpty() || !box->isVisibleTo(window))
            continue;
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        faults << contrastFault(QStringLiteral("%1 \"%2\"").arg(box->objectName(), box->title()),
                                inkContrast(picture, onPicture(box, label)));
    }
    if (withSelection) {
        for (QAbstractItemView *view : views) {
            if (!view->isVisibleTo(window) || view->selectionModel()->selectedIndexes().isEmpty()
                || qobject_cast<QCalendarWidget *>(view->parentWidget()))
                continue;
            const QModelIndex first = view->model()->index(0, 0);
            const QRect cell = view->visualRect(first).adjusted(1, 1, -1, -1);
            faults << contrastFault(nameOf(view) + QStringLiteral(", selected row"),
                                    inkContrast(picture, onPicture(view->viewport(), cell)));
        }
    }
    faults.removeAll(QString());
    return faults;
}

// How many pixels of `widget` the keyboard focus changes visibly (by
// 1.5 : 1 at least).
int focusFramePixels(QWidget *widget)
{
    widget->clearFocus();
    const QImage before = widget->grab().toImage();
    // As after a Tab: styles draw their focus frame only then.
    widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    widget->setFocus(Qt::TabFocusReason);
    const QImage after = widget->grab().toImage();
    int changed = 0;
    for (int y = 0; y < std::min(before.height(), after.height()); ++y)
        for (int x = 0; x < std::min(before.width(), after.width()); ++x)
            changed += contrast(before.pixelColor(x, y), after.pixelColor(x, y)) >= 1.5;
    return changed;
}

} // namespace

class TestLooks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void everyTextIsWholeAndReadable_data();
    void everyTextIsWholeAndReadable();
    void aClippingRuleIsFound();
    void everyInputIsNamed_data();
    void everyInputIsNamed();
    void calendarsSpeakChinese_data();
    void calendarsSpeakChinese();
    void focusShowsOnEveryControl_data();
    void focusShowsOnEveryControl();
    void styledTextsStandOut_data();
    void styledTextsStandOut();
    void menuHighlightStandsOut_data();
    void menuHighlightStandsOut();

private:
    QWidget *openWindow(const QString &name);
    void applyLook(int look);

    MainWindow &form() { return m_main->form(); }

    std::unique_ptr<MainWindowFixture> m_main;
    std::unique_ptr<PowerLogStore> m_dm1;
    RecordingLive m_live;
    std::unique_ptr<QWidget> m_window;
    // Every window's picture by look, for the contact sheets.
    QList<QImage> m_pictures[lookCount];
};

void TestLooks::initTestCase()
{
    resetRegionalFormat();
    m_main = std::make_unique<MainWindowFixture>();
    m_main->platform.clock.set(QDateTime(QDate(2026, 12, 10), QTime(20, 48, 37)));
    const QString folder = m_main->folder();
    form().missions()->append({QStringLiteral("关闭电脑"), QStringLiteral("关闭电脑"), QStringLiteral("2026-12-1"),
                               QStringLiteral("8:00:00"), 0});
    form().missions()->append({QStringLiteral("提示消息"), QStringLiteral("该起床了!"), QStringLiteral("2026-12-28"),
                               QStringLiteral("23:59:59"), 5});
    // Repeating rows: the repeat column shows their mark and rule.
    Mission weekly {QStringLiteral("提示消息"), QStringLiteral("站起来走走"), QStringLiteral("2026-12-11"),
                    QStringLiteral("9:00:00"), 3};
    weekly.repeatRule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE,FR");
    weekly.repeatStart = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    form().missions()->append(weekly);
    Mission breaks {QStringLiteral("系统响铃"), QStringLiteral("内置铃声"), QStringLiteral("2026-12-10"),
                    QStringLiteral("21:30:00"), 4};
    breaks.repeatRule = QStringLiteral("FREQ=MINUTELY;INTERVAL=90;COUNT=6");
    breaks.repeatStart = QDateTime(QDate(2026, 12, 10), QTime(18, 30));
    form().missions()->append(breaks);

    m_dm1 = std::make_unique<PowerLogStore>();
    m_dm1->query()->setDatabaseFile(folder + QStringLiteral("db.mdb"));
    const QDateTime start(QDate(2026, 12, 9), QTime(8, 0, 0));
    QString error;
    for (int run = 0; run < 3; ++run)
        QVERIFY2(m_dm1->recordRun(start.addDays(-run), start.addDays(-run).addSecs(3600), 0.27, &error),
                 qPrintable(error));
}

void TestLooks::cleanup()
{
    m_window.reset();
    if (auto *editor = form().findChild<MissionEditor *>())
        editor->hide();
    form().hide();
}

void TestLooks::applyLook(int look)
{
    form().applyTheme(look);
}

QWidget *TestLooks::openWindow(const QString &name)
{
    auto own = [this](QWidget *window) {
        m_window.reset(window);
        window->show();
        return window;
    };
    if (name == QLatin1String("main window")) {
        form().show();
        return &form();
    }
    if (name.startsWith(QLatin1String("editor: "))) {
        form().findChild<QAction *>(QStringLiteral("actAdd"))->trigger();
        auto *editor = form().findChild<MissionEditor *>();
        const QString page = name.mid(8);
        const std::map<QString, void (MissionEditor::*)()> pages = {
            {QStringLiteral("power"), &MissionEditor::showPowerPage},
            {QStringLiteral("program"), &MissionEditor::showProgramPage},
            {QStringLiteral("file"), &MissionEditor::showFilePage},
            {QStringLiteral("message"), &MissionEditor::showMessagePage},
            {QStringLiteral("ring"), &MissionEditor::showRingPage},
            {QStringLiteral("web"), &MissionEditor::showWebPage},
            {QStringLiteral("mail"), &MissionEditor::showMailPage},
            {QStringLiteral("repeat"), &MissionEditor::showMessagePage}};
        (editor->*pages.at(page))();
        if (page == QLatin1String("repeat")) {
            RepeatField *repeat = editor->repeatField();
            repeat->setChoice(RepeatField::Weekly);
            for (int day : {1, 3, 5})
                repeat->weekdayBox(day)->setChecked(true);
            repeat->endChoice()->setCurrentIndex(1);
        }
        return editor;
    }
    if (name == QLatin1String("shutdown warning")) {
        auto *warning = new ShutdownWarning(nullptr);
        warning->setMessage(MissionRunner::warningMessage(MissionKind::mkShutdown));
        return own(warning);
    }
    if (name == QLatin1String("message popup")) {
        auto *popup = new MessagePopup;
        popup->showMessage(QStringLiteral("是到吃饭的时间了,休息一下吧."));
        return own(popup);
    }
    if (name == QLatin1String("daily missions"))
        return own(new DailyMissionsDialog(m_main->folder(), QStringLiteral("2026-12-10")));
    if (name == QLatin1String("power statistics")) {
        auto *window = new PowerStatsWindow(m_dm1.get(), &m_main->platform.clock, 70, 200);
        window->computeTotals();
        return own(window);
    }
    if (name == QLatin1String("settings"))
        return own(new SettingsDialog(m_live, m_main->platform.autostart,
                                      m_main->filePath(QStringLiteral("config.ini")), 70, 200));
    if (name == QLatin1String("system time"))
        return own(new SystemTimeDialog(m_main->services));
    if (name == QLatin1String("about"))
        return own(new AboutDialog);
    return own(new VersionHistoryDialog);
}

void TestLooks::everyTextIsWholeAndReadable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("look");
    for (int look = 0; look < lookCount; ++look)
        for (const char *window : windowNames)
            QTest::addRow("%s, look %d", window, look) << QString::fromUtf8(window) << look;
}

void TestLooks::everyTextIsWholeAndReadable()
{
    QFETCH(QString, window);
    QFETCH(int, look);
    applyLook(look);
    QWidget *shown = openWindow(window);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QStringList faults = readabilityFaults(shown);
    m_pictures[look].append(shown->grab().toImage());
    const QString folder = qEnvironmentVariable("CHRONODESK_CONTACT_SHEETS");
    const QString alone = window == QLatin1String("editor: repeat") ? QStringLiteral("repeat-editor")
                          : window == QLatin1String("main window")  ? QStringLiteral("repeat-list")
                                                                    : QString();
    if (!folder.isEmpty() && !alone.isEmpty())
        QVERIFY(m_pictures[look].last().save(QStringLiteral("%1/%2-%3.png").arg(folder, alone).arg(look)));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n  "))));
}

void TestLooks::aClippingRuleIsFound()
{
    // A look that narrows a date field or pads the buttons of a window laid
    // out to the pixel again must not pass unseen.
    const QString clipping = SkinStore::styleSheet(0)
                             + QStringLiteral("QDateTimeEdit { max-width: 70px; }"
                                              "#frmHaodian QPushButton { padding: 4px 14px; }");
    form().applyTheme(3);
    qApp->setStyleSheet(clipping);
    QWidget *shown = openWindow(QStringLiteral("power statistics"));
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QStringList faults = readabilityFaults(shown);
    form().applyTheme(0);
    QVERIFY2(faults.filter(QStringLiteral("RzDateTimePicker1")).size() == 1, qPrintable(faults.join(u'\n')));
    QVERIFY2(faults.filter(QStringLiteral("btnLookAll")).size() == 1, qPrintable(faults.join(u'\n')));
}

void TestLooks::everyInputIsNamed_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : windowNames)
        QTest::newRow(window) << QString::fromUtf8(window);
}

void TestLooks::everyInputIsNamed()
{
    // What a screen reader announces for each input: its own label's text,
    // never that of the box around it, so no two inputs sound alike.
    QFETCH(QString, window);
    applyLook(3);
    QWidget *shown = openWindow(window);
    QMap<QString, QString> named;
    for (QWidget *input : shown->findChildren<QWidget *>()) {
        const bool isInput = qobject_cast<QAbstractSpinBox *>(input) || qobject_cast<QComboBox *>(input)
                             || (qobject_cast<QLineEdit *>(input) && !qobject_cast<QAbstractSpinBox *>(input->parent())
                                 && !qobject_cast<QComboBox *>(input->parent()));
        if (!isInput || !input->isVisibleTo(shown))
            continue;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(input);
        QVERIFY(spoken);
        const QString name = spoken->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(nameOf(input)));
        QVERIFY2(!named.contains(name),
                 qPrintable(QStringLiteral("%1 and %2 are both \"%3\"").arg(nameOf(input), named.value(name), name)));
        named.insert(name, nameOf(input));
    }
}

void TestLooks::calendarsSpeakChinese_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("editor") << "editor: power";
    QTest::newRow("power statistics") << "power statistics";
    QTest::newRow("system time") << "system time";
}

void TestLooks::calendarsSpeakChinese()
{
    // The tests run in an English locale; the calendars still name the
    // months and days in Chinese, while the date texts keep their pattern.
    QFETCH(QString, window);
    QCOMPARE(QLocale().language(), QLocale::C);
    applyLook(3);
    QWidget *shown = openWindow(window);
    QList<QCalendarWidget *> calendars = shown->findChildren<QCalendarWidget *>();
    for (QDateEdit *field : shown->findChildren<QDateEdit *>()) {
        QVERIFY(field->calendarPopup());
        QCOMPARE(field->text(), DateToStr(field->date()));
        calendars.append(field->calendarWidget());
    }
    QVERIFY(!calendars.isEmpty());
    for (QCalendarWidget *calendar : std::as_const(calendars)) {
        calendar->setSelectedDate(QDate(2026, 12, 10));
        auto *month = calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
        QVERIFY(month);
        QCOMPARE(month->text(), QStringLiteral("十二月"));
    }
}

void TestLooks::focusShowsOnEveryControl_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("look");
    const std::pair<const char *, const char *> controls[] = {
        {"main window", "tbAdd"},         {"main window", "bAdd"},       {"main window", "nbgControl"},
        {"main window", "ListView1"},     {"editor: power", "nbExePro"}, {"editor: power", "nbgTishi"},
        {"editor: power", "btnAdd"},      {"daily missions", "btnDel"},  {"power statistics", "RxDBGrid1"},
        {"power statistics", "btnClose"}, {"settings", "BitBtn1"}};
    // The plain look is the desktop's own style: it marks the focused cell
    // of a list rather than the list, and outlines a default button as it
    // does a focused one.
    const QStringList desktopMarks = {"ListView1", "RxDBGrid1", "BitBtn1"};
    for (int look = 0; look < lookCount; ++look)
        for (const auto &[window, control] : controls)
            if (look != SkinStore::builtInSkin() || !desktopMarks.contains(QLatin1String(control)))
                QTest::addRow("%s, %s, look %d", window, control, look) << QString::fromUtf8(window) << control << look;
}

void TestLooks::focusShowsOnEveryControl()
{
    // A user without a mouse sees where the keys go: the focus draws a
    // frame around the control, in every look.
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, look);
    applyLook(look);
    QWidget *shown = openWindow(window);
    // A window shown again is not activated again by the test platform.
    QApplication::setActiveWindow(shown);
    QCOMPARE(QApplication::activeWindow(), shown);
    auto *focused = shown->findChild<QWidget *>(control);
    QVERIFY2(focused, qPrintable(control));
    QVERIFY2(focused->focusPolicy() & Qt::TabFocus, qPrintable(QString::number(focused->focusPolicy())));
    // At least as many as one long and one short side of the frame.
    const int least = focused->width() + focused->height();
    const int changed = focusFramePixels(focused);
    QVERIFY(focused->hasFocus());
    QVERIFY2(changed >= least, qPrintable(QStringLiteral("%1 pixels change, %2 wanted").arg(changed).arg(least)));
}

void TestLooks::styledTextsStandOut_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("look");
    const char *const windows[] = {"main window",      "editor: power", "editor: program", "daily missions",
                                   "power statistics", "settings",      "system time"};
    for (int look = 0; look < lookCount; ++look)
        for (const char *window : windows)
            QTest::addRow("%s, look %d", window, look) << QString::fromUtf8(window) << look;
}

void TestLooks::styledTextsStandOut()
{
    // Navigation headers, group titles and selected rows are drawn by the
    // style from the look's colours: each stands out by 4.5 : 1. The plain
    // look's selection is the desktop's own colours, not the program's.
    QFETCH(QString, window);
    QFETCH(int, look);
    applyLook(look);
    QWidget *shown = openWindow(window);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QStringList faults = styledTextFaults(shown, look != SkinStore::builtInSkin());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n  "))));
}

void TestLooks::menuHighlightStandsOut_data()
{
    QTest::addColumn<int>("look");
    for (int look = 0; look < lookCount; ++look)
        if (look != SkinStore::builtInSkin())
            QTest::addRow("look %d", look) << look;
}

void TestLooks::menuHighlightStandsOut()
{
    QFETCH(int, look);
    applyLook(look);
    openWindow(QStringLiteral("main window"));
    auto *menu = form().findChild<QMenu *>(QStringLiteral("mnMission"));
    QVERIFY(menu);
    menu->popup(form().mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction *first = menu->actions().constFirst();
    menu->setActiveAction(first);
    const QImage picture = menu->grab().toImage();
    const double measured = inkContrast(picture, menu->actionGeometry(first).adjusted(2, 2, -2, -2));
    menu->hide();
    QVERIFY2(measured >= leastContrast, qPrintable(contrastFault(first->text(), measured)));
}

void TestLooks::cleanupTestCase()
{
    const QString folder = qEnvironmentVariable("CHRONODESK_CONTACT_SHEETS");
    m_main.reset();
    if (folder.isEmpty())
        return;
    constexpr int gap = 16;
    constexpr int rowWidth = 1500;
    for (int look = 0; look < lookCount; ++look) {
        // Windows left to right, a new row when one is full.
        QList<QPoint> places;
        QPoint at(gap, gap);
        int rowHeight = 0;
        int width = 0;
        for (const QImage &picture : std::as_const(m_pictures[look])) {
            if (at.x() + picture.width() + gap > rowWidth && at.x() > gap) {
                at = QPoint(gap, at.y() + rowHeight + gap);
                rowHeight = 0;
            }
            places.append(at);
            width = std::max(width, at.x() + picture.width() + gap);
            rowHeight = std::max(rowHeight, picture.height());
            at.rx() += picture.width() + gap;
        }
        QImage sheet(width, at.y() + rowHeight + gap, QImage::Format_RGB32);
        sheet.fill(QColor(96, 96, 96));
        QPainter painter(&sheet);
        for (int i = 0; i < places.size(); ++i)
            painter.drawImage(places.at(i), m_pictures[look].at(i));
        painter.end();
        QVERIFY(sheet.save(QStringLiteral("%1/look-%2.png").arg(folder).arg(look)));
    }
}

QTEST_MAIN(TestLooks)
#include "tst_looks.moc"
