#pragma once

#include <QDialog>

// The about box: a borderless card with the product's logo, title, thanks
// and homepage. OK or Esc closes it.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
