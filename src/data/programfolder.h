#pragma once

#include <QString>
#include <QStringList>

// The folder that holds the database, myini.ini, image/, backup/ and the help pages:
// the executable's folder, or the one given by --data-dir DIR.
class ProgramFolder
{
public:
    // Reads --data-dir DIR (or --data-dir=DIR) from the arguments; else the executable's folder.
    static void initFromArguments(const QStringList &arguments);
    static void set(const QString &path);

    static QString path(); // absolute, without a final separator
    static QString file(const QString &relative);

    static QString databaseFile() { return file(QStringLiteral("database/database.db")); }
    static QString settingsFile() { return file(QStringLiteral("myini.ini")); }
    static QString backupFolder() { return file(QStringLiteral("backup")); }
    static QString defaultBackground() { return file(QStringLiteral("image/001.jpg")); }
    static QString helpFile() { return file(QStringLiteral("help.html")); }
};
