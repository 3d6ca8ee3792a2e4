#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <array>

class ResultSet;

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

    // The shared result sets ADOQuery3 … ADOQuery18 that the grids show; n outside 3..18 gives
    // nullptr. Screens that use the same number see each other's latest statement. They live as
    // long as the data module and are closed and bound again when the file is reopened.
    ResultSet *ADOQuery(int n);
    ResultSet *ADOQuery3() { return ADOQuery(3); }
    ResultSet *ADOQuery4() { return ADOQuery(4); }
    ResultSet *ADOQuery5() { return ADOQuery(5); }
    ResultSet *ADOQuery6() { return ADOQuery(6); }
    ResultSet *ADOQuery7() { return ADOQuery(7); }
    ResultSet *ADOQuery8() { return ADOQuery(8); }
    ResultSet *ADOQuery9() { return ADOQuery(9); }
    ResultSet *ADOQuery10() { return ADOQuery(10); }
    ResultSet *ADOQuery11() { return ADOQuery(11); }
    ResultSet *ADOQuery12() { return ADOQuery(12); }
    ResultSet *ADOQuery13() { return ADOQuery(13); }
    ResultSet *ADOQuery14() { return ADOQuery(14); }
    ResultSet *ADOQuery15() { return ADOQuery(15); }
    ResultSet *ADOQuery16() { return ADOQuery(16); }
    ResultSet *ADOQuery17() { return ADOQuery(17); }
    ResultSet *ADOQuery18() { return ADOQuery(18); }

signals:
    // The connection was closed and opened again on a different file (after a restore):
    // everything read from it before is stale.
    void reopened();

private:
    void rebindResultSets();

    QString m_connectionName;
    std::array<ResultSet *, 16> m_queries {};
    QString m_file;
};

// The program's data module (the last one created).
TDM1 *DM1();
