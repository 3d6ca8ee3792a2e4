#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {
constexpr const char *AnsweredMark = "_modalAnswererAnswered";
// When several answerers are alive, the one made last answers: it belongs to the innermost step.
QList<ModalAnswerer *> &alive()
{
    static QList<ModalAnswerer *> list;
    return list;
}
} // namespace

ModalAnswerer::ModalAnswerer(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
    alive().append(this);
}

ModalAnswerer::~ModalAnswerer()
{
    alive().removeOne(this);
}

ModalAnswerer &ModalAnswerer::button(QMessageBox::StandardButton which)
{
    m_answers.append({Answer::Button, which, {}, {}});
    return *this;
}

ModalAnswerer &ModalAnswerer::file(const QString &path)
{
    m_answers.append({Answer::File, QMessageBox::Ok, path, {}});
    return *this;
}

ModalAnswerer &ModalAnswerer::cancelFile()
{
    m_answers.append({Answer::CancelFile, QMessageBox::Ok, {}, {}});
    return *this;
}

ModalAnswerer &ModalAnswerer::dialog(std::function<void(QWidget *)> handle)
{
    m_answers.append({Answer::Dialog, QMessageBox::Ok, {}, std::move(handle)});
    return *this;
}

bool ModalAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide) {
        watched->setProperty(AnsweredMark, QVariant());
        watched->removeEventFilter(this);
    }
    return false;
}

bool ModalAnswerer::waitDone(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_answers.isEmpty() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return m_answers.isEmpty() && !m_unexpected;
}

void ModalAnswerer::poll()
{
    if (alive().last() != this)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    // A dialog still closing from an earlier answer. Marked on the object itself: a new box
    // may well be allocated where the last one was.
    if (modal->property(AnsweredMark).toBool())
        return;
    modal->setProperty(AnsweredMark, true);
    modal->installEventFilter(this); // clears the mark when hidden: reused dialogs come back

    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        m_seen.append({QStringLiteral("QMessageBox"),
                       box->windowTitle(),
                       box->text(),
                       box->icon(),
                       box->objectName(),
                       {}});
        QMessageBox::StandardButton which = QMessageBox::Ok;
        if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Button) {
            which = m_answers.takeFirst().button;
        } else if (m_strict) {
            m_unexpected = true;
        }
        QAbstractButton *b = box->button(which);
        if (!b) {
            m_unexpected = true;
            b = box->buttons().value(0);
        }
        QPointer<QMessageBox> guard(box);
        QMetaObject::invokeMethod(
                box,
                [guard, b] {
                    if (guard)
                        b->click();
                },
                Qt::QueuedConnection);
        return;
    }

    if (auto *files = qobject_cast<QFileDialog *>(modal)) {
        m_seen.append({QStringLiteral("QFileDialog"),
                       files->windowTitle(),
                       {},
                       QMessageBox::NoIcon,
                       files->objectName(),
                       files->nameFilters()});
        if (m_answers.isEmpty()
            || (m_answers.first().kind != Answer::File
                && m_answers.first().kind != Answer::CancelFile)) {
            m_unexpected = true;
            files->reject();
            return;
        }
        const Answer answer = m_answers.takeFirst();
        if (answer.kind == Answer::CancelFile) {
            files->reject();
        } else {
            // Type the name as a user would, then accept.
            if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(answer.path);
            files->selectFile(answer.path);
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        }
        return;
    }

    m_seen.append({QString::fromLatin1(modal->metaObject()->className()),
                   modal->windowTitle(),
                   {},
                   QMessageBox::NoIcon,
                   modal->objectName(),
                   {}});
    if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Dialog) {
        auto handle = m_answers.takeFirst().handle;
        QPointer<QWidget> guard(modal);
        QMetaObject::invokeMethod(
                modal,
                [guard, handle] {
                    if (guard)
                        handle(guard);
                },
                Qt::QueuedConnection);
    } else {
        m_unexpected = true;
        if (auto *d = qobject_cast<QDialog *>(modal))
            d->reject();
    }
}
