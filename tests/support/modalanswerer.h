#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the modal dialogs a test's actions open, in order: message boxes by pressing a
// button, file dialogs by choosing a file (or cancelling), any other dialog by a callback.
// Everything answered is recorded so the test can check titles, texts and icons.
// While several answerers are alive, only the one made last answers.
//
//   ModalAnswerer answers;
//   answers.button(QMessageBox::Ok);
//   QTest::mouseClick(save, Qt::LeftButton);
//   QCOMPARE(answers.seen().at(0).text, "保存成功！");
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Seen
    {
        QString kind; // "QMessageBox", "QFileDialog" or the dialog's class name
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString objectName;
        QStringList nameFilters; // file dialogs
    };

    explicit ModalAnswerer(QObject *parent = nullptr);
    ~ModalAnswerer() override;

    // Queue answers; they are used in the order the dialogs appear.
    ModalAnswerer &button(QMessageBox::StandardButton which);
    ModalAnswerer &file(const QString &path); // type the name and accept
    ModalAnswerer &cancelFile(); // reject a file dialog
    ModalAnswerer &dialog(std::function<void(QWidget *)> handle); // any other modal window

    const QList<Seen> &seen() const { return m_seen; }
    int pending() const { return int(m_answers.size()); }
    // Processes events until every queued answer was used or the time is up.
    bool waitDone(int timeoutMs = 5000);

    // Message boxes for which no answer is queued are answered OK (and recorded);
    // with strict(), an unexpected dialog fails the wait instead.
    void strict(bool on = true) { m_strict = on; }
    bool sawUnexpected() const { return m_unexpected; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    struct Answer
    {
        enum Kind { Button, File, CancelFile, Dialog } kind;
        QMessageBox::StandardButton button = QMessageBox::Ok;
        QString path;
        std::function<void(QWidget *)> handle;
    };
    QList<Answer> m_answers;
    QList<Seen> m_seen;
    QTimer m_timer;
    bool m_strict = false;
    bool m_unexpected = false;
};
