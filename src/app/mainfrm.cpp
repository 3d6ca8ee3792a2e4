#include "mainfrm.h"

#include "access/login.h"
#include "backgroundarea.h"
#include "data/dberror.h"
#include "data/programfolder.h"
#include "data/settingsfile.h"
#include "data/tdm1.h"
#include "mainmenu.h"
#include "screenregistry.h"
#include "statuspanes.h"
#include "toolicons.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QDate>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
TMAIN *g_main = nullptr;

const QString ExitTitle = QStringLiteral("系统提示");
const QString ExitQuestion = QStringLiteral("确实要退出本系统吗？");
} // namespace

TMAIN *MAIN()
{
    return g_main;
}

TMAIN::TMAIN(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MAIN"));
    g_main = this;
    resize(1022, 736);

    m_area = new BackgroundArea(this);
    setCentralWidget(m_area);
    connect(m_area, &BackgroundArea::resized, this, &TMAIN::placeLabels);

    buildMenu();
    buildToolBar();
    buildStatusBar();
}

TMAIN::~TMAIN()
{
    if (g_main == this)
        g_main = nullptr;
}

void TMAIN::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const MainMenu::Menu &spec : MainMenu::menus()) {
        QMenu *menu = menuBar()->addMenu(spec.caption);
        menu->setObjectName(spec.name);
        menu->menuAction()->setObjectName(spec.name);
        for (const MainMenu::Item &item : spec.items) {
            if (item.kind == MainMenu::Kind::Separator) {
                menu->addSeparator()->setObjectName(item.name);
                continue;
            }
            QAction *action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            connect(action, &QAction::triggered, this, [this, item] {
                switch (item.kind) {
                case MainMenu::Kind::Child:
                    openItem(item.name, item.childCaption);
                    break;
                case MainMenu::Kind::Action:
                    runAction(item.name);
                    break;
                case MainMenu::Kind::Exit:
                    close();
                    break;
                case MainMenu::Kind::Separator:
                    break;
                }
            });
        }
    }
}

void TMAIN::buildToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("RzToolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(64);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setStyleSheet(QStringLiteral("QToolButton { color: blue; font-size: 14px; }"));
    for (const MainMenu::ToolButton &spec : MainMenu::toolButtons()) {
        auto *button = new QToolButton(m_toolBar);
        button->setObjectName(spec.name);
        button->setText(spec.caption);
        // A tooltip only: a status tip would cover the operator, slogan and clock panes.
        button->setToolTip(spec.hint);
        button->setIcon(ToolIcons::icon(spec.icon));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setMinimumSize(60, 60);
        m_toolBar->addWidget(button);
        if (spec.separatorAfter)
            m_toolBar->addSeparator();

        if (!spec.item.isEmpty()) {
            // The button stands for its menu item: enabled with it, and a click is the item's.
            QAction *item = menuItem(spec.item);
            button->setEnabled(item->isEnabled());
            connect(item, &QAction::enabledChanged, button, &QWidget::setEnabled);
            connect(button, &QToolButton::clicked, this,
                    [this, name = spec.item] { clickItem(name); });
        } else if (spec.kind == MainMenu::Kind::Exit) {
            connect(button, &QToolButton::clicked, this, &QWidget::close);
        } else {
            connect(button, &QToolButton::clicked, this,
                    [this, name = spec.name] { runAction(name); });
        }
    }
}

void TMAIN::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("RzStatusBar1"));
    bar->setFixedHeight(20);
    bar->setSizeGripEnabled(false);

    m_operatorPane = new QLabel(bar);
    m_operatorPane->setObjectName(QStringLiteral("RzStatusPane1"));
    m_operatorPane->setAlignment(Qt::AlignCenter);
    m_operatorPane->setFixedWidth(227);
    m_marquee = new MarqueePane(bar);
    m_marquee->setObjectName(QStringLiteral("RzMarqueeStatus1"));
    m_marquee->setFixedWidth(432);
    m_clock = new ClockPane(bar);
    m_clock->setObjectName(QStringLiteral("RzClockStatus1"));
    m_clock->setFixedWidth(287);
    bar->addWidget(m_operatorPane);
    bar->addWidget(m_marquee);
    bar->addWidget(m_clock);
}

QFileDialog *TMAIN::makeFileDialog(const QString &name, bool save)
{
    auto *dialog = new QFileDialog(this);
    dialog->setObjectName(name);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setNameFilters({QStringLiteral("BAK文件 (*.BAK)"), QStringLiteral("所有文件 (*)")});
    return dialog;
}

QFileDialog *TMAIN::SaveDialog1() const
{
    if (!m_saveDialog) {
        auto *self = const_cast<TMAIN *>(this);
        m_saveDialog = self->makeFileDialog(QStringLiteral("SaveDialog1"), true);
        // The default name is the day the program started.
        const QDate day = m_startDay.isValid() ? m_startDay : QDate::currentDate();
        m_saveDialog->selectFile(day.toString(QStringLiteral("yyyy-MM-dd")));
    }
    return m_saveDialog;
}

QFileDialog *TMAIN::OpenDialog1() const
{
    if (!m_openDialog)
        m_openDialog
                = const_cast<TMAIN *>(this)->makeFileDialog(QStringLiteral("OpenDialog1"), false);
    return m_openDialog;
}

bool TMAIN::start()
{
    m_startDay = QDate::currentDate();
    if (!connectDatabase())
        return false;
    applyShopSettings();

    m_login = std::make_unique<Tloginform>();
    if (m_login->exec() != QDialog::Accepted)
        return false;
    m_operatorPane->setText(QStringLiteral("当前用户为:") + m_login->OperatorNumber());
    applyPermissions(m_login->grantedFlags());
    // Without a window manager "maximised" is only a wish; take the screen ourselves.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    return true;
}

bool TMAIN::connectDatabase()
{
    TDM1 *dm = DM1();
    QString detail;
    const TDM1::OpenResult result
            = dm ? dm->open(ProgramFolder::databaseFile(), &detail) : TDM1::OpenResult::Failed;
    switch (result) {
    case TDM1::OpenResult::Ok:
        return true;
    case TDM1::OpenResult::ReadOnly:
        // Running on it would fail at the first save, after the operator typed a whole record.
        dm->close();
        Messages::error(nullptr, QStringLiteral("错误"),
                        QStringLiteral("数据库文件是只读的，无法保存数据！请检查文件权限后重试。"));
        return false;
    case TDM1::OpenResult::Missing:
    case TDM1::OpenResult::NotMerrow:
    case TDM1::OpenResult::Failed:
        break;
    }
    Messages::error(nullptr, QStringLiteral("错误"),
                    QStringLiteral("无法连接到指定的数据库！请重试！"));
    return false;
}

void TMAIN::applyShopSettings()
{
    const SettingsFile settings = SettingsFile::programSettings();
    const QString shop
            = settings.read(QStringLiteral("店铺名称"), QStringLiteral("Fenwick电脑公司"));
    QString picture = settings.read(QStringLiteral("背景"));
    if (picture.isEmpty())
        picture = ProgramFolder::defaultBackground();

    setWindowTitle(shop + QLatin1String(ProductTitle) + QLatin1String(Version));
    m_area->label1()->setText(shop);
    m_marquee->setText(settings.read(QStringLiteral("广告语")));
    m_area->setPicture(picture);
}

void TMAIN::showBackground(const QString &path)
{
    m_area->setPicture(path);
}

void TMAIN::applyPermissions(const std::array<bool, 17> &flags)
{
    for (int flag = 1; flag <= 17; ++flag) {
        if (QAction *item = menuItem(MainMenu::itemForFlag(flag)))
            item->setEnabled(flags[size_t(flag - 1)]);
    }
}

bool TMAIN::ActivateChild(const QString &caption)
{
    QMdiSubWindow *sub = child(caption);
    if (!sub)
        return false;
    sub->showNormal();
    sub->setEnabled(true);
    sub->show();
    sub->raise();
    m_area->setActiveSubWindow(sub);
    if (sub->widget())
        sub->widget()->setFocus(Qt::OtherFocusReason);
    return true;
}

QMdiSubWindow *TMAIN::child(const QString &caption) const
{
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (sub->windowTitle() == caption)
            return sub;
    }
    return nullptr;
}

void TMAIN::clickItem(const QString &item)
{
    if (isItemEnabled(item))
        menuItem(item)->trigger();
}

bool TMAIN::isItemEnabled(const QString &item) const
{
    const QAction *action = menuItem(item);
    return action && action->isEnabled();
}

void TMAIN::openItem(const QString &item, const QString &caption)
{
    openChild(caption, ScreenRegistry::child(item));
}

void TMAIN::openChild(const QString &caption, const ChildFactory &create)
{
    if (ActivateChild(caption) || !create)
        return;
    QWidget *screen = nullptr;
    try {
        screen = create();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    } catch (const std::exception &e) {
        Messages::generalError(this, QString::fromLocal8Bit(e.what()));
    }
    if (!screen)
        return;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    // The frame takes its size from the screen's size hint, which is far smaller than the
    // size a screen was designed at, and its place from the work area's own cascade. Keep
    // the size and place a screen set for itself, so its grids are not cut off and it opens
    // where the shop is used to finding it.
    const QSize designed = screen->testAttribute(Qt::WA_Resized) ? screen->size() : QSize();
    const bool placed = screen->testAttribute(Qt::WA_Moved);
    const QPoint place = screen->pos();
    QMdiSubWindow *sub = m_area->addSubWindow(screen);
    // No screen is laid out for a maximised frame.
    sub->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A screen's own "退出" closes the screen; its frame goes with it rather than staying
    // empty under the caption. Queued: a frame closed by its close box is gone by then.
    connect(screen, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    screen->show();
    sub->show();
    if (designed.isValid())
        sub->resize(designed.expandedTo(sub->minimumSizeHint()));
    if (placed)
        sub->move(place);
    screen->setWindowTitle(caption);
    sub->setWindowTitle(caption);
}

void TMAIN::runAction(const QString &name)
{
    const ScreenRegistry::Action action = ScreenRegistry::action(name);
    if (!action)
        return;
    try {
        action(this);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    } catch (const std::exception &e) {
        Messages::generalError(this, QString::fromLocal8Bit(e.what()));
    }
}

void TMAIN::closeAllChildren()
{
    m_area->closeAllSubWindows();
}

void TMAIN::closeEvent(QCloseEvent *event)
{
    if (!Messages::question(this, ExitTitle, ExitQuestion)) {
        event->ignore();
        return;
    }
    runAction(QStringLiteral("ExitBackup"));
    event->accept();
}

void TMAIN::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeLabels();
}

void TMAIN::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    placeLabels();
}

void TMAIN::placeLabels()
{
    // Placed against the window's outer size, as the labels always were.
    m_area->placeLabels(frameGeometry().size(), m_area->viewport()->mapFrom(this, QPoint(0, 0)));
}

QMdiArea *TMAIN::mdiArea() const
{
    return m_area;
}

QAction *TMAIN::menuItem(const QString &name) const
{
    return name.isEmpty() ? nullptr : findChild<QAction *>(name);
}

QToolButton *TMAIN::toolButton(const QString &name) const
{
    return findChild<QToolButton *>(name);
}

bool TMAIN::hasBackgroundPicture() const
{
    return m_area->hasPicture();
}

QString TMAIN::slogan() const
{
    return m_marquee->text();
}
