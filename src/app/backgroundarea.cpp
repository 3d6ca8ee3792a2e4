#include "backgroundarea.h"

#include <QImageReader>
#include <QLabel>
#include <QPainter>

namespace {
constexpr int LabelHeight = 65;
}

BackgroundArea::BackgroundArea(QWidget *parent)
    : QMdiArea(parent)
{
    setObjectName(QStringLiteral("MDIClient"));
    setBackground(palette().color(QPalette::Window));
    m_label1 = makeLabel(QStringLiteral("Label1"), 1025);
    m_label2 = makeLabel(QStringLiteral("Label2"), 1017);
    m_label2->setText(QStringLiteral("Merrow"));
}

QLabel *BackgroundArea::makeLabel(const QString &name, int width)
{
    // Children of the viewport created before any child window, kept at the bottom: they are
    // part of the background, not windows, and let the mouse through.
    auto *label = new QLabel(viewport());
    label->setObjectName(name);
    label->setFixedSize(width, LabelHeight);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QFont f = label->font();
    f.setFamilies({QStringLiteral("华文行楷"), QStringLiteral("STXingkai"), f.family()});
    f.setPixelSize(60);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::yellow);
    label->setPalette(pal);
    label->lower();
    label->show();
    return label;
}

bool BackgroundArea::setPicture(const QString &path)
{
    m_picture = QImage();
    m_scaled = QPixmap();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image;
    if (!path.isEmpty() && reader.read(&image))
        m_picture = image;
    viewport()->update();
    return hasPicture();
}

void BackgroundArea::placeLabels(const QSize &window, const QPoint &origin)
{
    // Whole-number halving, as the labels were always placed; the shop name stands one and a
    // half label heights above the centred title.
    for (QLabel *label : {m_label1, m_label2}) {
        const int left = (window.width() - label->width()) / 2;
        const int top = label == m_label1 ? (window.height() - 4 * label->height()) / 2
                                          : (window.height() - label->height()) / 2;
        label->move(origin + QPoint(left, top));
        label->lower();
    }
}

void BackgroundArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    if (m_picture.isNull())
        return;
    // Scaling a photograph on every repaint is slow; keep it for the current size.
    if (m_scaled.size() != viewport()->size())
        m_scaled = QPixmap::fromImage(m_picture.scaled(viewport()->size(), Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation));
    QPainter p(viewport());
    p.drawPixmap(0, 0, m_scaled);
}

void BackgroundArea::resizeEvent(QResizeEvent *event)
{
    QMdiArea::resizeEvent(event);
    emit resized();
}
