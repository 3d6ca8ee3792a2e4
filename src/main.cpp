// Entry point: one copy only, the data module, the main window with its login, the
// dialogs that live for the whole run, then the message loop.
#include "app/appfont.h"
#include "app/mainfrm.h"
#include "app/screenregistry.h"
#include "app/singleinstance.h"
#include "app/toolicons.h"
#include "data/programfolder.h"
#include "data/tdm1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("merrow"));
    QApplication::setApplicationDisplayName(QStringLiteral("电脑公司Merrow"));
    AppFont::apply();
    // Every window, the child screens included, shows the shop's computer.
    QApplication::setWindowIcon(ToolIcons::icon(3));
    // The toolkit's own words (OK, Cancel, file dialogs) in Chinese too, when installed.
    QTranslator toolkitWords;
    if (toolkitWords.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitWords);

    // A second copy ends silently; the running one is left as it is.
    SingleInstance instance;
    if (!instance.acquire())
        return 0;

    ProgramFolder::initFromArguments(QApplication::arguments());
    ScreenRegistry::wireAll();

    TDM1 dm;
    // The main window shows itself only after a successful login.
    TMAIN main;
    if (!main.start())
        return 0;
    ScreenRegistry::createStartupDialogs();
    return QApplication::exec();
}
