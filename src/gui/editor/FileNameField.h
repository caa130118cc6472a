#pragma once

#include <QStringList>
#include <QWidget>

class QFileDialog;
class QLineEdit;
class QToolButton;

// A single-line file name with a browse button at its right. The browse
// dialog starts at the file the field names and puts the picked path in.
class FileNameField : public QWidget
{
    Q_OBJECT

public:
    FileNameField(const QStringList &filters, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    // The file name the field stands for (see fileNameValue).
    QString fileName() const;

    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *browseButton() const { return m_browse; }

    // The browse dialog for the current text, set up but not shown.
    QFileDialog *makeBrowseDialog();
    void takePickedFile(const QString &path);

private:
    void browse();

    QStringList m_filters;
    QLineEdit *m_edit;
    QToolButton *m_browse;
};
