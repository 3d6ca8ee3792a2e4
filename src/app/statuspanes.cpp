#include "statuspanes.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>

MarqueePane::MarqueePane(QWidget *parent)
    : QWidget(parent)
{
    QFont f = font();
    f.setPixelSize(15);
    setFont(f);
    m_timer.setInterval(StepMs);
    connect(&m_timer, &QTimer::timeout, this, &MarqueePane::step);
}

void MarqueePane::setText(const QString &text)
{
    m_text = text;
    m_offset = width();
    // An empty slogan needs no animation.
    if (m_text.isEmpty())
        m_timer.stop();
    else
        m_timer.start();
    update();
}

void MarqueePane::step()
{
    const int textWidth = fontMetrics().horizontalAdvance(m_text);
    if (--m_offset < -textWidth)
        m_offset = width();
    update();
}

void MarqueePane::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter p(this);
    p.setPen(Qt::red);
    p.drawText(QRect(m_offset, 0, fontMetrics().horizontalAdvance(m_text) + 1, height()),
               Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

ClockPane::ClockPane(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ClockPane::tick);
    m_timer.start();
    tick();
}

QString ClockPane::textFor(const QDateTime &when)
{
    // The shop's locale, whatever the machine's: the whole interface is Chinese.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    return chinese.toString(when.date(), QLocale::LongFormat) + u' '
            + when.time().toString(QStringLiteral("H:mm:ss"));
}

void ClockPane::tick()
{
    setText(textFor(QDateTime::currentDateTime()));
}
