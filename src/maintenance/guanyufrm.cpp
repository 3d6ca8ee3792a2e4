#include "guanyufrm.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The product picture: drawn rather than shipped, so it always matches the title.
QPixmap productPicture()
{
    QPixmap pixmap(131, 200);
    QPainter painter(&pixmap);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(0x1e, 0x3c, 0x78));
    sky.setColorAt(1, QColor(0x6a, 0x9a, 0xd8));
    painter.fillRect(pixmap.rect(), sky);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Merrow"));
    return pixmap;
}

QLabel *
titleLabel(const char *name, const QString &text, const QColor &color, int pixels, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("楷体_GB2312"));
    font.setPixelSize(pixels);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QPointer<Tguanyu> &instance()
{
    static QPointer<Tguanyu> dialog;
    return dialog;
}

} // namespace

Tguanyu::Tguanyu(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("guanyu"));
    setWindowTitle(QStringLiteral("关于本系统"));
    setFixedSize(612, 207);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setFixedSize(131, 200);
    image->setScaledContents(true);
    image->setPixmap(productPicture());

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(
            titleLabel("Label1", QStringLiteral("电脑公司Merrow"), QColor(0x80, 0, 0), 21, group));
    groupLayout->addWidget(
            titleLabel("Label2", QStringLiteral("程序版本：4.69"), Qt::blue, 20, group));
    auto *close = new QPushButton(QStringLiteral("退出"), group);
    close->setObjectName(QStringLiteral("bitbtn1"));
    groupLayout->addWidget(close, 0, Qt::AlignCenter);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(image);
    layout->addWidget(group, 1);

    // Closing only hides it; the same box is shown again next time.
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

Tguanyu *guanyu()
{
    if (!instance()) {
        instance() = new Tguanyu;
        // Destroyed with the application, before the widget system goes away.
        qAddPostRoutine([] { delete instance().data(); });
    }
    return instance();
}
