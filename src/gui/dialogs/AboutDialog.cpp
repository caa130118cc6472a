#include "gui/dialogs/AboutDialog.h"

#include "gui/dialogs/ProductInfo.h"
#include "gui/widgets/DialogLook.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Icons.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// The card behind everything: a pale blue fill with a blue outline.
class CardShape : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QColor(132, 203, 239));
        painter.setBrush(QColor(214, 239, 255));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->move(left, top);
    result->adjustSize();
    return result;
}

QLabel *picture(QWidget *parent, const char *name, const QString &resource, const QRect &geometry)
{
    auto *result = new QLabel(parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(geometry);
    result->setPixmap(svgPixmap(resource, geometry.size()));
    return result;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于程序"));
    setFont(songTiPixelFont(12));
    setFixedSize(371, 210);

    auto *shape = new CardShape(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(0, 0, 371, 209);

    QLabel *title = label(this, "Label1", applicationTitle(), 17, 128);
    QFont titleFont = title->font();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #1c5fbf;"));
    title->adjustSize();

    picture(this, "Image2", QStringLiteral(":/icons/about-band.svg"), QRect(1, 0, 369, 25));
    label(this, "Label5", homepageAddress(), 14, 171);
    QLabel *logo = picture(this, "Image1", QStringLiteral(":/icons/about-logo.svg"), QRect(16, 32, 209, 97));
    logo->setAccessibleName(QStringLiteral("翎鹊时间管理器标志"));

    QLabel *thanks = label(this, "RzLabel1", QStringLiteral("感谢:\nQt\nSQLite\nDebian"), 240, 32);
    thanks->setStyleSheet(QStringLiteral("color: black;"));
    // One pixel more for the relief beside the last stroke of each line.
    thanks->resize(thanks->width() + 1, 84);
    thanks->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Raised lettering: a light edge below and to the right of each stroke.
    auto *relief = new QGraphicsDropShadowEffect(thanks);
    relief->setColor(Qt::white);
    relief->setOffset(1, 1);
    relief->setBlurRadius(0);
    thanks->setGraphicsEffect(relief);

    auto *ok = new QPushButton(buttonIcon(ButtonIcon::Ok), QStringLiteral("确定(&O)"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setGeometry(256, 144, 89, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
