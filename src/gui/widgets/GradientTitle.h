#pragma once

#include <QColor>
#include <QWidget>

// The title strip at the top of an editor page: a vertical colour gradient
// that ends in white, with the title in white.
class GradientTitle : public QWidget
{
    Q_OBJECT

public:
    explicit GradientTitle(const QString &title, QWidget *parent = nullptr);

    QString title() const { return m_title; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QColor m_top;
};
