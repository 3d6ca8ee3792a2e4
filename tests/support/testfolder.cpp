#include "testfolder.h"

#include "data/programfolder.h"
#include "data/schema.h"
#include "data/tdm1.h"

#include <QDir>

TestFolder::TestFolder()
{
    if (!m_dir.isValid())
        return;
    QDir root(m_dir.path());
    root.mkpath(QStringLiteral("backup"));
    root.mkpath(QStringLiteral("image"));
    if (!Schema::createDatabaseFile(databaseFile()).isEmpty())
        return;
    ProgramFolder::set(m_dir.path());
    m_dm = std::make_unique<TDM1>();
    m_valid = m_dm->open(databaseFile()) == TDM1::OpenResult::Ok;
}

TestFolder::~TestFolder()
{
    m_dm.reset();
}
