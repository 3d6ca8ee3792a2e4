#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class TDM1;

// A throw-away program folder: database/database.db made from the shipped schema and
// initial contents, an empty backup/ and image/. Makes it the ProgramFolder and opens a
// data module on it.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    QString databaseFile() const { return file(QStringLiteral("database/database.db")); }

    TDM1 *dm() const { return m_dm.get(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDM1> m_dm;
    bool m_valid = false;
};
