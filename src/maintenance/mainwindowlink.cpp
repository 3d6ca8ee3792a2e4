#include "mainwindowlink.h"

#include <QLabel>
#include <QMdiArea>
#include <QMetaObject>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

namespace MainWindowLink {

namespace {
bool has(QWidget *w, const char *signature)
{
    return w && w->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature)) >= 0;
}
} // namespace

QWidget *mainWindowOf(QWidget *screen)
{
    return screen ? screen->window() : nullptr;
}

void applyBackground(QWidget *mainWindow, const QString &picture)
{
    if (!mainWindow)
        return;
    if (has(mainWindow, "applyBackground(QString)")) {
        QMetaObject::invokeMethod(mainWindow, "applyBackground", Q_ARG(QString, picture));
        return;
    }
    // Re-reading the settings picks up the picture just written.
    if (has(mainWindow, "applyShopSettings()")) {
        QMetaObject::invokeMethod(mainWindow, "applyShopSettings");
        return;
    }
    auto *image = mainWindow->findChild<QWidget *>(QStringLiteral("Image1"));
    if (!image)
        return;
    image->hide();
    const QPixmap pixmap(picture);
    if (pixmap.isNull())
        return;
    if (auto *label = qobject_cast<QLabel *>(image))
        label->setPixmap(pixmap);
    else
        image->setProperty("pixmap", pixmap);
    image->show();
}

void applyShopTexts(QWidget *mainWindow, const QString &shopName, const QString &slogan)
{
    if (!mainWindow)
        return;
    if (has(mainWindow, "applyShopSettings()")) {
        QMetaObject::invokeMethod(mainWindow, "applyShopSettings");
        return;
    }
    if (auto *label = mainWindow->findChild<QWidget *>(QStringLiteral("Label1"))) {
        label->setProperty("text", shopName);
        label->update();
    }
    if (auto *pane = mainWindow->findChild<QWidget *>(QStringLiteral("RzMarqueeStatus1"))) {
        if (has(pane, "setText(QString)"))
            QMetaObject::invokeMethod(pane, "setText", Q_ARG(QString, slogan));
        else
            pane->setProperty("text", slogan);
    }
}

void closeAllChildren(QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    if (has(mainWindow, "closeAllChildren()")) {
        QMetaObject::invokeMethod(mainWindow, "closeAllChildren");
        return;
    }
    for (QMdiArea *area : mainWindow->findChildren<QMdiArea *>())
        area->closeAllSubWindows();
}

} // namespace MainWindowLink
