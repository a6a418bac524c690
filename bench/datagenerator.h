#pragma once

#include "bench/rowmaker.h"

#include <QDate>
#include <QString>

class QSqlDatabase;

namespace tb {

// Writes a database of the chosen size with realistic rows in every table: the schema the
// application creates, code tables, master data and two years of sales documents.
// Progress goes to stderr, a line per table. The file is built beside its final name and
// renamed when complete, so an interrupted run never leaves a half-filled database.
class DataGenerator
{
public:
    explicit DataGenerator(const benchdata::GeneratorSizes &sizes,
                           QDate lastDay = QDate::currentDate());

    // Throws std::runtime_error (or tb::DatabaseError) when the file cannot be written.
    void generate(const QString &path);

    // The rows that generate() writes; the benchmark reads its known values through it.
    const benchdata::RowMaker &rows() const { return m_rows; }

private:
    void fillCodeTables(QSqlDatabase &db);
    template<typename MakeRow>
    void fillTable(QSqlDatabase &db, const QString &table, qint64 count, MakeRow make);
    template<typename MakeDocument>
    void fillDocuments(QSqlDatabase &db, const QString &master, const QString &detail,
                       qint64 count, MakeDocument make);

    benchdata::RowMaker m_rows;
};

} // namespace tb
