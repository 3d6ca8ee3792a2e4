#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// The data module: the one connection every screen works on. Created first at start-up
// and living until the program ends; DM1() reaches it from anywhere.
class TDM1 : public QObject
{
    Q_OBJECT
public:
    enum class OpenResult {
        Ok,
        Missing, // no file there; nothing is created in its place
        NotMerrow, // the file lacks tables or columns of the schema (or is no database at all)
        ReadOnly, // opened, but the file cannot be written
        Failed, // the engine refused to open it
    };

    explicit TDM1(QObject *parent = nullptr);
    ~TDM1() override;

    // Opens the database file (never creates one). The connection stays open until close().
    // On a result other than Ok, `detail` receives what was wrong.
    OpenResult open(const QString &file, QString *detail = nullptr);
    void close();
    bool isOpen() const;

    QSqlDatabase ADOConnection1() const;
    QString databaseFile() const { return m_file; }
    QString connectionName() const { return m_connectionName; }

signals:
    // The connection was closed and opened again on a different file (after a restore):
    // everything read from it before is stale.
    void reopened();

private:
    QString m_connectionName;
    QString m_file;
};

// The program's data module (the last one created).
TDM1 *DM1();
