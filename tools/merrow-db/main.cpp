// merrow-db: makes Merrow database files.
//   merrow-db create PATH     a new database with the schema and the initial contents

#include "data/schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() == 3 && args[1] == QLatin1String("create")) {
        const QString failure = Schema::createDatabaseFile(args[2]);
        if (!failure.isEmpty()) {
            err << "merrow-db: " << failure << Qt::endl;
            return 1;
        }
        return 0;
    }
    err << "usage: merrow-db create PATH" << Qt::endl;
    return 2;
}
