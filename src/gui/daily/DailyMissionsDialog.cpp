#include "gui/daily/DailyMissionsDialog.h"

#include "core/files/DailyMissionFile.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"

#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

enum Column { KindColumn, DescriptionColumn, DateColumn, TimeColumn, ColumnCount };

// The kind text is edited in place; a "$" would split the line in the file,
// so the editor does not take one.
class KindTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^$]*")), line));
        return editor;
    }
};

QFrame *makePanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette grey = panel->palette();
    grey.setColor(QPalette::Window, QColor(212, 208, 200));
    panel->setPalette(grey);
    return panel;
}

} // namespace

DailyMissionsDialog::DailyMissionsDialog(const QString &folder, const QString &todayText, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_folder(folder)
    , m_todayText(todayText)
{
    setObjectName(QStringLiteral("frmEveryDayMis"));
    setWindowTitle(QStringLiteral("每日执行任务维护"));
    setFont(songTiFont(9));
    setFixedSize(337, 276);

    QFrame *header = makePanel(this, QRect(0, 0, 337, 41));
    auto *inner = new QFrame(header);
    inner->setGeometry(8, 8, 321, 25);
    inner->setAutoFillBackground(true);
    QPalette silver = inner->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    inner->setPalette(silver);
    auto *title = new QLabel(QStringLiteral("每日执行任务维护"), inner);
    title->setGeometry(8, 0, 305, 25);

    m_listView = new QTableWidget(0, ColumnCount, this);
    m_listView->setObjectName(QStringLiteral("ListView1"));
    m_listView->setGeometry(0, 41, 337, 194);
    m_listView->setHorizontalHeaderLabels(
        {QStringLiteral("任务"), QStringLiteral("描述"), QStringLiteral("执行日期"), QStringLiteral("执行时间")});
    m_listView->setShowGrid(true);
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setSortingEnabled(false);
    m_listView->setWordWrap(false);
    m_listView->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_listView->setItemDelegateForColumn(KindColumn, new KindTextDelegate(m_listView));
    m_listView->setAccessibleName(QStringLiteral("每日执行任务"));
    // Tab leaves the list for the buttons; the arrows move inside it.
    m_listView->setTabKeyNavigation(false);
    m_listView->installEventFilter(this);
    m_listView->verticalHeader()->hide();
    m_listView->verticalHeader()->setDefaultSectionSize(20);
    m_listView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_listView->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {100, 120, 100, 100};
    for (int column = 0; column < ColumnCount; ++column)
        m_listView->setColumnWidth(column, widths[column]);

    QFrame *bottom = makePanel(this, QRect(0, 235, 337, 41));
    m_btnDel = new QPushButton(QStringLiteral("删除"), bottom);
    m_btnDel->setObjectName(QStringLiteral("btnDel"));
    m_btnDel->setGeometry(168, 8, 73, 25);
    m_btnDel->setAutoDefault(false);
    m_btnClose = new QPushButton(QStringLiteral("关闭"), bottom);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setGeometry(256, 8, 73, 25);
    m_btnClose->setAutoDefault(false);
    connect(m_btnDel, &QPushButton::clicked, this, &DailyMissionsDialog::deleteSelectedRow);
    connect(m_btnClose, &QPushButton::clicked, this, &DailyMissionsDialog::closeDialog);
    setTabOrder(m_listView, m_btnDel);
    setTabOrder(m_btnDel, m_btnClose);

    loadFile();
}

void DailyMissionsDialog::loadFile()
{
    const QString path = DailyMissionFile::pathIn(m_folder);
    if (DailyMissionFile(path).exists())
        loadList(path);
}

void DailyMissionsDialog::loadList(const QString &path)
{
    m_listView->setRowCount(0);
    m_read = MissionLines::Reading();
    QString error;
    const std::optional<MissionLines::Reading> reading = DailyMissionFile(path).read(m_todayText, &error);
    m_readable = reading.has_value();
    if (!reading) {
        showErrorReport(this, error);
        return;
    }
    m_read = *reading;
    m_listView->setRowCount(int(reading->missions.size()));
    int row = 0;
    for (const Mission &mission : reading->missions) {
        const QString texts[] = {mission.kindText, mission.description, mission.dateText, mission.timeText};
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column != KindColumn)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_listView->setItem(row, column, item);
        }
        ++row;
    }
}

QVector<Mission> DailyMissionsDialog::listedMissions() const
{
    QVector<Mission> missions;
    missions.reserve(m_listView->rowCount());
    for (int row = 0; row < m_listView->rowCount(); ++row) {
        const QString kind = m_listView->item(row, KindColumn)->text();
        missions.append(Mission {kind, m_listView->item(row, DescriptionColumn)->text(),
                                 m_listView->item(row, DateColumn)->text(), m_listView->item(row, TimeColumn)->text(),
                                 kindImageIndex(kind)});
    }
    return missions;
}

void DailyMissionsDialog::saveList(const QString &path)
{
    QString error;
    if (!DailyMissionFile(path).rewrite(listedMissions(), m_read, &error))
        showErrorReport(parentWidget(), error);
}

void DailyMissionsDialog::deleteSelectedRow()
{
    const QModelIndexList rows = m_listView->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        m_listView->removeRow(rows.first().row());
}

bool DailyMissionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Del deletes the selected row as 删除 does; while a kind text is being
    // edited, the keys go to its field instead.
    if (watched == m_listView && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteSelectedRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DailyMissionsDialog::closeDialog()
{
    close();
}

void DailyMissionsDialog::done(int result)
{
    commitOpenEdit();
    saveIfChanged();
    QDialog::done(result);
}

void DailyMissionsDialog::commitOpenEdit()
{
    // 关闭 takes the focus from an open editor, which hands its text to the
    // list; the title bar's close box does not, so the edit is handed over
    // here the same way.
    auto *editor = m_listView->viewport()->findChild<QLineEdit *>();
    if (!editor || !editor->isVisible())
        return;
    QAbstractItemDelegate *delegate = m_listView->itemDelegateForColumn(KindColumn);
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor);
}

void DailyMissionsDialog::saveIfChanged()
{
    // A file that could not be read is never rewritten from an empty list,
    // and a list the user left as it was leaves the file as it was.
    if (m_readable && listedMissions() != m_read.missions)
        saveList(DailyMissionFile::pathIn(m_folder));
}
