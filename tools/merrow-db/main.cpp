// merrow-db: makes Merrow database files.
//   merrow-db create PATH                      a new database with the initial contents
//   merrow-db seed PATH [--scale N] [--seed S] a new database filled with a decade of data

#include "data/schema.h"
#include "seed.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {
int usage()
{
    QTextStream(stderr) << "usage: merrow-db create PATH\n"
                           "       merrow-db seed PATH [--scale N] [--seed S]\n";
    return 2;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 3)
        return usage();

    if (args[1] == QLatin1String("create") && args.size() == 3) {
        const QString failure = Schema::createDatabaseFile(args[2]);
        if (!failure.isEmpty()) {
            err << "merrow-db: " << failure << Qt::endl;
            return 1;
        }
        return 0;
    }

    if (args[1] == QLatin1String("seed")) {
        SeedOptions options;
        for (qsizetype i = 3; i < args.size(); ++i) {
            bool ok = i + 1 < args.size();
            if (args[i] == QLatin1String("--scale") && ok)
                options.scale = args[++i].toDouble(&ok);
            else if (args[i] == QLatin1String("--seed") && ok)
                options.seed = args[++i].toULongLong(&ok);
            else
                ok = false;
            if (!ok || options.scale <= 0)
                return usage();
        }
        QElapsedTimer clock;
        clock.start();
        QString lastStage;
        const QString failure
                = seedDatabase(args[2], options, [&](const QString &stage, double done) {
                      err << "\r" << stage << " " << int(done * 100) << "%   ";
                      if (done >= 1)
                          err << "\n";
                      err.flush();
                  });
        if (!failure.isEmpty()) {
            err << "\nmerrow-db: " << failure << Qt::endl;
            return 1;
        }
        err << "done in " << clock.elapsed() / 1000.0 << " s" << Qt::endl;
        return 0;
    }
    return usage();
}
