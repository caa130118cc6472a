#include "gui/powerstats/PowerStatsWindow.h"

#include "core/powerlog/PowerLogDataSource.h"
#include "core/powerlog/PowerLogQuery.h"
#include "core/powerlog/PowerLogStore.h"
#include "core/text/NumberText.h"
#include "core/text/RegionalFormat.h"
#include "gui/widgets/ChineseCalendar.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "platform/Clock.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlRecord>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

const QColor evenRecordColour(128, 255, 255);
const QString allRecordsSql = QStringLiteral("select * from hd");
const QString rangeSql = QStringLiteral("select * from hd where 开始时间>=:startTime and 结束时间<=:endTime");

// Hands the painting of each cell to the window.
class GridCellDelegate : public QStyledItemDelegate
{
public:
    GridCellDelegate(const PowerStatsWindow *form, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_form(form)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &cell) const override
    {
        m_form->drawCell(painter, option, cell);
    }

    void paintDefault(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &cell) const
    {
        QStyledItemDelegate::paint(painter, option, cell);
    }

private:
    const PowerStatsWindow *m_form;
};

// The row header as an indicator column: a small arrow at the current record.
class IndicatorHeader : public QHeaderView
{
public:
    explicit IndicatorHeader(QWidget *parent)
        : QHeaderView(Qt::Vertical, parent)
    {
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        const auto *view = static_cast<const QTableView *>(parentWidget());
        if (!view->selectionModel() || view->selectionModel()->currentIndex().row() != logicalIndex)
            return;
        const QPoint centre = rect.center();
        const QPoint arrow[] = {centre + QPoint(-2, -4), centre + QPoint(2, 0), centre + QPoint(-2, 4)};
        painter->save();
        // The header's own drawing leaves the clip where the section's text went.
        painter->setClipRect(rect);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::WindowText));
        painter->drawPolygon(arrow, 3);
        painter->restore();
    }
};

// A label at its place; it names `buddy`, also to screen readers.
QLabel *makeLabel(QWidget *parent, const QString &text, int x, int y, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->move(x, y - 2);
    label->adjustSize();
    return label;
}

QLineEdit *makeBox(QWidget *parent, const QString &objectName, const QString &text, const QRect &geometry)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(objectName);
    box->setGeometry(geometry);
    // Drawn flat in the colour of the box around it.
    box->setFrame(false);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    box->setPalette(colours);
    return box;
}

// A total and its unit, whole where the box has room for them; otherwise
// rounded to as many significant digits as fit, so no digit is cut and the
// unit stays. The whole figure is in the tool tip.
void showTotal(QLineEdit *box, double value, const QString &unit = QString())
{
    const QString whole = FloatToStr(value) + unit;
    const int room = box->contentsRect().marginsRemoved(box->textMargins()).width() - 4;
    QString shown = whole;
    for (int digits = 14; digits > 0 && box->fontMetrics().horizontalAdvance(shown) > room; --digits)
        shown = FloatToStr(QString::number(value, 'g', digits).toDouble()) + unit;
    box->setText(shown);
    box->setCursorPosition(0);
    box->setToolTip(whole);
}

QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &caption, int y, int height)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setGeometry(480, y, 81, height);
    button->setAutoDefault(false);
    return button;
}

} // namespace

PowerStatsWindow::PowerStatsWindow(PowerLogStore *dm1, const Clock *clock, int crtWatts, int hostWatts, QWidget *parent)
    : QDialog(parent)
    , m_dm1(dm1)
    , m_clock(clock)
    , m_crtWatts(crtWatts)
    , m_hostWatts(hostWatts)
{
    setObjectName(QStringLiteral("frmHaodian"));
    setWindowTitle(QStringLiteral("电脑耗电量统计"));
    const QFont windowFont = songTiFont(9);
    setFont(windowFont);
    setFixedSize(575, 441);

    buildRecordsBox();
    buildTotalsBox();
    buildButtons();
    showFirstView();
}

void PowerStatsWindow::buildRecordsBox()
{
    auto *box = new QGroupBox(QStringLiteral("耗电明细"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    box->setGeometry(16, 16, 449, 313);

    const QString dateFormat = RegionalFormat::current().shortDatePattern();
    m_picker1 = new QDateEdit(box);
    m_picker1->setObjectName(QStringLiteral("RzDateTimePicker1"));
    m_picker1->setGeometry(80, 21, 89, 20);
    m_picker2 = new QDateEdit(box);
    m_picker2->setObjectName(QStringLiteral("RzDateTimePicker2"));
    m_picker2->setGeometry(344, 21, 89, 20);
    for (QDateEdit *picker : {m_picker1, m_picker2}) {
        picker->setDisplayFormat(dateFormat);
        picker->setCalendarPopup(true);
        useChineseNames(picker->calendarWidget());
        // Wider than 89 where the font's figures need it, so the whole
        // date shows; the size hint leaves out the two pixels the field
        // keeps at each side of its text.
        picker->resize(std::max(89, picker->sizeHint().width() + 4), 20);
    }
    makeLabel(box, QStringLiteral("开始日期:"), 16, 24, m_picker1);
    makeLabel(box, QStringLiteral("结束日期:"), 280, 24, m_picker2);

    m_grid = new QTableView(box);
    m_grid->setObjectName(QStringLiteral("RxDBGrid1"));
    m_grid->setGeometry(16, 56, 417, 241);
    m_grid->setVerticalHeader(new IndicatorHeader(m_grid));
    m_grid->verticalHeader()->setFixedWidth(14);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setMinimumSectionSize(18);
    m_grid->verticalHeader()->setDefaultSectionSize(18);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Columns are fitted to the records in sight, not to all of a long log.
    m_grid->horizontalHeader()->setResizeContentsPrecision(0);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setShowGrid(true);
    m_grid->setWordWrap(false);
    QPalette colours = m_grid->palette();
    colours.setColor(QPalette::Base, Qt::white);
    m_grid->setPalette(colours);
    m_grid->setItemDelegate(new GridCellDelegate(this, m_grid));
    m_grid->setAccessibleName(QStringLiteral("耗电明细"));
    // Tab leaves the grid for the buttons; the arrows move inside it.
    m_grid->setTabKeyNavigation(false);

    m_grid->installEventFilter(this);
}

bool PowerStatsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
            askDeleteRecord();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PowerStatsWindow::buildTotalsBox()
{
    auto *box = new QGroupBox(QStringLiteral("统计信息"), this);
    box->setObjectName(QStringLiteral("GroupBox2"));
    box->setGeometry(16, 336, 449, 89);

    QLineEdit *crt =
        makeBox(box, QStringLiteral("RzLineEdit1"), QString::number(m_crtWatts) + QLatin1Char('W'), {85, 19, 60, 18});
    makeLabel(box, QStringLiteral("显示器功率:"), 16, 24, crt);
    QLineEdit *host =
        makeBox(box, QStringLiteral("RzLineEdit2"), QString::number(m_hostWatts) + QLatin1Char('W'), {213, 20, 72, 18});
    makeLabel(box, QStringLiteral("主机功率:"), 152, 24, host);
    m_editHaodian = makeBox(box, QStringLiteral("editHaodian"), QStringLiteral("0度"), {325, 20, 76, 18});
    makeLabel(box, QStringLiteral("耗电:"), 288, 24, m_editHaodian);
    m_editDanweidianfei = makeBox(box, QStringLiteral("editDanweidianfei"), QStringLiteral("1"), {85, 43, 44, 18});
    makeLabel(box, QStringLiteral("单位电费:"), 16, 48, m_editDanweidianfei);
    makeLabel(box, QStringLiteral("(元)"), 130, 48);
    m_editDianfei = makeBox(box, QStringLiteral("editDianfei"), QStringLiteral("0"), {213, 44, 60, 18});
    makeLabel(box, QStringLiteral("总电费:"), 152, 48, m_editDianfei);
    makeLabel(box, QStringLiteral("(元)"), 274, 48);
}

void PowerStatsWindow::buildButtons()
{
    connect(makeButton(this, QStringLiteral("btnLook"), QStringLiteral("按日期查看"), 22, 19), &QPushButton::clicked,
            this, &PowerStatsWindow::showDateRange);
    connect(makeButton(this, QStringLiteral("btnLookAll"), QStringLiteral("查看全部"), 54, 19), &QPushButton::clicked,
            this, &PowerStatsWindow::showAll);
    connect(makeButton(this, QStringLiteral("btnDel"), QStringLiteral("删除"), 86, 19), &QPushButton::clicked, this,
            &PowerStatsWindow::deleteSelectedRecord);
    connect(makeButton(this, QStringLiteral("btnDelAll"), QStringLiteral("删除全部"), 120, 17), &QPushButton::clicked,
            this, &PowerStatsWindow::deleteAllRecords);
    connect(makeButton(this, QStringLiteral("btnTongji"), QStringLiteral("统计"), 150, 19), &QPushButton::clicked, this,
            &PowerStatsWindow::computeTotals);
    connect(makeButton(this, QStringLiteral("btnClose"), QStringLiteral("关闭"), 182, 19), &QPushButton::clicked, this,
            &PowerStatsWindow::closeWindow);
}

void PowerStatsWindow::showFirstView()
{
    m_grid->setModel(m_dm1->dataSource());
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, m_grid->verticalHeader()->viewport(),
            qOverload<>(&QWidget::update));

    const QDate today = m_clock->now().date();
    m_picker1->setDate(today);
    m_picker2->setDate(today);
    showAll();
}

void PowerStatsWindow::showView(int row)
{
    fetchTo(row);
    const int count = m_dm1->query()->rowCount();
    if (count == 0)
        return;
    m_grid->resizeColumnsToContents();
    // Only the records read so far are measured; the highest id, which may
    // lie far down the view, must fit too.
    const int idColumn = m_dm1->query()->record().indexOf(QStringLiteral("id"));
    const QString highestId = m_dm1->query()->largestInView(QStringLiteral("id")).toString();
    if (idColumn >= 0 && !highestId.isEmpty()) {
        const int cellMargins =
            2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1) + m_grid->showGrid();
        const int width = m_grid->fontMetrics().horizontalAdvance(highestId) + cellMargins + 4;
        m_grid->setColumnWidth(idColumn, std::max(m_grid->columnWidth(idColumn), width));
    }
    m_grid->setCurrentIndex(m_dm1->dataSource()->index(qBound(0, row, count - 1), 0));
}

void PowerStatsWindow::fetchTo(int row)
{
    PowerLogQuery *query = m_dm1->query();
    if (query->rowCount() > row || !query->canFetchMore())
        return;
    // The grid reads the records as they scroll into view; going to a
    // record far down reads all before it, which a long log takes a while
    // for: after a moment that shows, and the user may stop it, since
    // reading changes nothing.
    QProgressDialog progress(QStringLiteral("正在读取耗电记录..."), QStringLiteral("取消"), 0, row + 1, this);
    progress.setObjectName(QStringLiteral("FetchProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(100);
    // The grid is drawn once, when the reading is done.
    m_grid->setUpdatesEnabled(false);
    while (query->rowCount() <= row && query->canFetchMore() && !progress.wasCanceled()) {
        query->fetchMore();
        progress.setValue(query->rowCount());
    }
    m_grid->setUpdatesEnabled(true);
}

void PowerStatsWindow::showDateRange()
{
    PowerLogQuery *query = m_dm1->query();
    query->close();
    query->setSql(rangeSql);
    // The pickers show dates; the range runs from the first second of the
    // start date to the last second of the end date.
    query->setParameter(QStringLiteral("startTime"), QDateTime(m_picker1->date(), QTime(0, 0, 0)));
    query->setParameter(QStringLiteral("endTime"), QDateTime(m_picker2->date(), QTime(23, 59, 59)));
    if (!query->open()) {
        showErrorReport(this, query->errorText());
        return;
    }
    showView(0);
}

void PowerStatsWindow::showAll()
{
    PowerLogQuery *query = m_dm1->query();
    query->close();
    query->setSql(allRecordsSql);
    if (!query->open()) {
        showErrorReport(this, query->errorText());
        return;
    }
    showView(0);
}

void PowerStatsWindow::deleteSelectedRecord()
{
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    if (!m_dm1->query()->deleteRecord(row)) {
        showErrorReport(this, m_dm1->query()->errorText());
        return;
    }
    showView(row);
}

void PowerStatsWindow::deleteAllRecords()
{
    if (!m_dm1->query()->deleteAll())
        showErrorReport(this, m_dm1->query()->errorText());
}

void PowerStatsWindow::computeTotals()
{
    PowerLogQuery *query = m_dm1->query();
    double sum = 0;
    if (!query->energySum(&sum)) {
        showErrorReport(this, query->errorText());
        return;
    }
    showView(query->viewSize() - 1);
    showTotal(m_editHaodian, sum, QStringLiteral("度"));
    const QString priceText = m_editDanweidianfei->text();
    const std::optional<double> price = StrToFloat(priceText);
    if (!price) {
        showErrorReport(this, QStringLiteral("'%1' is not a valid floating point value").arg(priceText));
        return;
    }
    showTotal(m_editDianfei, double((long double)*price * sum));
}

void PowerStatsWindow::closeWindow()
{
    close();
}

void PowerStatsWindow::askDeleteRecord()
{
    if (!m_grid->currentIndex().isValid())
        return;
    auto *question = new QMessageBox(QMessageBox::Question, applicationTitle(), QStringLiteral("Delete record?"),
                                     QMessageBox::Ok | QMessageBox::Cancel, this);
    question->setObjectName(QStringLiteral("DeleteRecordQuestion"));
    question->setDefaultButton(QMessageBox::Cancel);
    question->setAttribute(Qt::WA_DeleteOnClose);
    connect(question, &QMessageBox::finished, this, [this](int answer) {
        if (answer == QMessageBox::Ok)
            deleteSelectedRecord();
    });
    question->open();
}

void PowerStatsWindow::drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &cell) const
{
    const auto *delegate = static_cast<const GridCellDelegate *>(m_grid->itemDelegate());
    const int recordNumber = cell.row() + 1;
    if (recordNumber % 2 != 0) {
        // The selected record keeps the strong selection colours while
        // another control has the focus, so its white text stays readable.
        QStyleOptionViewItem odd(option);
        odd.state |= QStyle::State_Active;
        delegate->paintDefault(painter, odd, cell);
        return;
    }
    // Light cyan also on the selected record, drawn then in the normal
    // text colour so it stays readable.
    QStyleOptionViewItem even(option);
    even.state &= ~QStyle::State_Selected;
    even.backgroundBrush = evenRecordColour;
    painter->fillRect(option.rect, evenRecordColour);
    delegate->paintDefault(painter, even, cell);
}
