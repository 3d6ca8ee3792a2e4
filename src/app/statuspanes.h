#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

// A status bar pane whose text runs from right to left, one pixel per step.
class MarqueePane : public QWidget
{
    Q_OBJECT
public:
    static constexpr int StepMs = 20;

    explicit MarqueePane(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    int offset() const { return m_offset; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void step();

    QString m_text;
    int m_offset = 0; // x of the text's left edge
    QTimer m_timer;
};

// A status bar pane showing the current date (long form) and time, kept current.
class ClockPane : public QLabel
{
    Q_OBJECT
public:
    explicit ClockPane(QWidget *parent = nullptr);
    static QString textFor(const QDateTime &when);

private:
    void tick();
    QTimer m_timer;
};
