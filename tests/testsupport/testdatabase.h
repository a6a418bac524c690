#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tb::test {

// A fresh database with the full schema in a temporary folder, set as the "misAccess"
// alias for the lifetime of the object.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    QString path() const;
    // Runs statements directly on the file (setting up rows, reading results back).
    void exec(const QString &sql, const QVariantList &values = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    int count(const QString &table) const;

private:
    QTemporaryDir m_dir;
};

} // namespace tb::test
