#include "gui/editor/FileNameField.h"

#include "core/missions/MissionComposer.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QToolButton>

namespace {

constexpr QDir::Filters browseEntries = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;

// Lists, while switched on, only the folders and the files that may be run:
// no name pattern can tell those apart.
class ExecutablesOnly : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void switchOn(bool on)
    {
        if (on == m_on)
            return;
        m_on = on;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!m_on || !files)
            return true;
        const QModelIndex entry = files->index(row, 0, parent);
        return files->isDir(entry) || files->fileInfo(entry).isExecutable();
    }

private:
    bool m_on = false;
};

} // namespace

FileNameField::FileNameField(const QStringList &filters, QWidget *parent)
    : QWidget(parent)
    , m_filters(filters)
    , m_edit(new QLineEdit(this))
    , m_browse(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_browse);
    m_browse->setText(QStringLiteral("…"));
    m_browse->setProperty("browseButton", true);
    m_browse->setToolTip(QStringLiteral("浏览"));
    m_browse->setAccessibleName(QStringLiteral("浏览"));
    m_browse->setFixedHeight(m_edit->sizeHint().height());
    setFocusProxy(m_edit);
    connect(m_browse, &QToolButton::clicked, this, &FileNameField::browse);
}

QString FileNameField::text() const
{
    return m_edit->text();
}

void FileNameField::setText(const QString &text)
{
    m_edit->setText(text);
}

QString FileNameField::fileName() const
{
    return fileNameValue(text());
}

QFileDialog *FileNameField::makeBrowseDialog()
{
    auto *dialog = new QFileDialog(this, QStringLiteral("Browse"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(m_filters);
    dialog->setFilter(browseEntries);
    if (m_filters.contains(executablesFilter())) {
        // Programs here need no extension: that filter lists what may be run.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        auto *executables = new ExecutablesOnly(dialog);
        dialog->setProxyModel(executables);
        executables->switchOn(m_filters.constFirst() == executablesFilter());
        connect(dialog, &QFileDialog::filterSelected, executables,
                [executables](const QString &filter) { executables->switchOn(filter == executablesFilter()); });
    }
    const QString current = fileName();
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        if (info.isFile())
            dialog->selectFile(info.absoluteFilePath());
        else if (info.absoluteDir().exists())
            dialog->setDirectory(info.absolutePath());
    }
    return dialog;
}

void FileNameField::takePickedFile(const QString &path)
{
    setText(pickedPathText(path));
}

void FileNameField::browse()
{
    QFileDialog *dialog = makeBrowseDialog();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &FileNameField::takePickedFile);
    dialog->open();
}
