#include "toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ToolIcons {

namespace {
constexpr int Size = 32;

void person(QPainter &p, const QColor &color)
{
    p.setBrush(color);
    p.drawEllipse(QRectF(10, 3, 12, 12));
    p.drawRoundedRect(QRectF(5, 16, 22, 13), 6, 6);
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.setBrush(QColor(180, 220, 255));
    p.drawEllipse(QRectF(4, 4, 16, 16));
    p.setPen(QPen(QColor(120, 70, 20), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
}

void wrench(QPainter &p)
{
    p.setPen(QPen(QColor(110, 110, 120), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 24), QPointF(21, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 120));
    p.drawEllipse(QRectF(17, 3, 12, 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(22, 3, 4, 6));
}

void computer(QPainter &p)
{
    p.setBrush(QColor(70, 90, 140));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(3, 4, 26, 18));
    p.setBrush(QColor(150, 210, 255));
    p.drawRect(QRectF(6, 7, 20, 12));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(12, 22, 8, 3));
    p.drawRect(QRectF(7, 25, 18, 3));
}

void cart(QPainter &p)
{
    p.setPen(QPen(QColor(30, 110, 40), 2.5));
    p.setBrush(QColor(120, 200, 120));
    QPainterPath basket;
    basket.moveTo(2, 5);
    basket.lineTo(7, 5);
    basket.lineTo(10, 20);
    basket.lineTo(26, 20);
    basket.lineTo(29, 9);
    basket.lineTo(8, 9);
    p.drawPath(basket);
    p.setBrush(QColor(30, 110, 40));
    p.drawEllipse(QRectF(10, 23, 5, 5));
    p.drawEllipse(QRectF(21, 23, 5, 5));
}

void coins(QPainter &p)
{
    p.setPen(QPen(QColor(150, 110, 0), 1.5));
    p.setBrush(QColor(250, 200, 40));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QRectF(4, 22 - i * 5, 18, 7));
    p.drawEllipse(QRectF(14, 4, 15, 15));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(14, 4, 15, 15), Qt::AlignCenter, QStringLiteral("¥"));
}

void help(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 220));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

void lock(QPainter &p)
{
    p.setPen(QPen(QColor(90, 90, 90), 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 3, 14, 16), 0, 180 * 16);
    p.drawLine(QPointF(9, 11), QPointF(9, 15));
    p.drawLine(QPointF(23, 11), QPointF(23, 15));
    p.setPen(QPen(QColor(140, 100, 0), 1));
    p.setBrush(QColor(230, 180, 40));
    p.drawRoundedRect(QRectF(5, 14, 22, 15), 3, 3);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(14, 19, 4, 4));
}

void door(QPainter &p)
{
    p.setPen(QPen(QColor(100, 50, 20), 1.5));
    p.setBrush(QColor(170, 100, 50));
    p.drawRect(QRectF(5, 3, 15, 26));
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(29, 16));
    p.drawLine(QPointF(24, 11), QPointF(29, 16));
    p.drawLine(QPointF(24, 21), QPointF(29, 16));
}

QPixmap draw(int index)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        door(p);
        break;
    case 2:
        wrench(p);
        break;
    case 3:
        computer(p);
        p.scale(0.6, 0.6);
        p.translate(22, 22);
        wrench(p);
        break;
    case 4:
        cart(p);
        break;
    case 6:
        lock(p);
        break;
    case 8:
        coins(p);
        break;
    case 9:
        help(p);
        break;
    case 10:
        person(p, QColor(70, 130, 200));
        break;
    case 11:
        person(p, QColor(160, 160, 160));
        magnifier(p);
        break;
    default:
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
        break;
    }
    return pixmap;
}
} // namespace

QIcon icon(int index)
{
    return QIcon(draw(index));
}

} // namespace ToolIcons
