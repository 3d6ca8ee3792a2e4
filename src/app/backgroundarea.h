#pragma once

#include <QImage>
#include <QMdiArea>
#include <QPixmap>

class QLabel;

// The main window's work area: the background picture stretched over it and the shop name
// and product title labels, all behind every child window.
class BackgroundArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget *parent = nullptr);

    // Loads the picture; on any failure no picture is shown (the plain colour stays).
    bool setPicture(const QString &path);
    bool hasPicture() const { return !m_picture.isNull(); }

    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }

    // Places the labels for an outer window size, `origin` being where the window's
    // top-left corner lies in this area's viewport.
    void placeLabels(const QSize &window, const QPoint &origin);

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *makeLabel(const QString &name, int width);

    QImage m_picture;
    QPixmap m_scaled;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
};
