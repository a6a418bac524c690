#include "testsupport/testdatabase.h"

#include "data/database.h"

#include <QSqlQuery>
#include <QVariant>

namespace tb::test {

TestDatabase::TestDatabase()
{
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), path());
    Database::connection(); // creates the file with the full schema
}

TestDatabase::~TestDatabase()
{
    Database::closeAll();
}

QString TestDatabase::path() const
{
    return m_dir.filePath(QStringLiteral("test.db"));
}

void TestDatabase::exec(const QString &sql, const QVariantList &values) const
{
    Database::exec(Database::connection(), sql, values);
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = Database::exec(Database::connection(), sql, values);
    return q.next() ? q.value(0) : QVariant();
}

int TestDatabase::count(const QString &table) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

} // namespace tb::test
