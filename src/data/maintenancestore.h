#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// Backups, the check of a file offered for restore, the purge of history and the reset to
// the initial contents. Every failure throws DbError with the engine's or the file system's text.
class MaintenanceStore
{
public:
    explicit MaintenanceStore(QSqlDatabase db);

    // Writes a consistent copy of the database to `target`, replacing any file of that name.
    // The copy is made by the engine on a connection of its own (so an open transaction on
    // ours neither blocks it nor leaks into it), written under a temporary name, checked and
    // only then renamed: a failure leaves no half-written file. The copy is readable by the
    // owner only.
    void backupTo(const QString &target) const;

    // The same for any database file, e.g. a file chosen for restore.
    static void copyDatabase(const QString &source, const QString &target);

    // Empty when `file` is a sound database with every table and column of ours, else why not.
    // The file is opened read-only and never changed.
    static QString checkCandidate(const QString &file);

    // Deletes the sales, receipts, repairs and ledger rows dated before `firstKept`, in one
    // transaction. Customers, operators and the pick lists are never touched.
    void purgeBefore(const QDate &firstKept) const;

    // Empties every table and writes the initial contents, in one transaction.
    void initialise() const;

private:
    QSqlDatabase m_db;
};
