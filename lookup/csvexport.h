#pragma once

#include "data/book/schema.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;
class QWidget;

namespace tb {

class DataSet;
class DBGrid;

// One column of an export: its title and the field whose values it holds.
struct CsvColumn
{
    QString title;
    int field = -1; // Field::Index() in the set
    FieldType type = FieldType::String;
};

// The whole of a record set as CSV (see CsvWriter), read a page at a time in the set's
// order and never held whole: the column titles first, then one record per row, numbers
// as digits, dates in ISO form (2024-05-17), text that looks like a formula made inert (see
// CsvWriter::inertText), empty values as empty fields.
class CsvExport
{
public:
    // Called after each page with the rows written so far; false stops the export.
    using Progress = std::function<bool(qint64 rows)>;

    CsvExport(const DataSet &set, QList<CsvColumn> columns);

    // The columns a grid shows, titled as it titles them: its own, or every field of its
    // set in field order.
    static QList<CsvColumn> gridColumns(const DBGrid &grid);
    // A number of rows as the messages write it: 1,234,567.
    static QString rowCountText(qint64 rows);
    static QString cellText(const QVariant &value, FieldType type);

    // Writes everything to out. Returns the rows written, nothing when stopped; throws
    // std::runtime_error when the device refuses the data.
    std::optional<qint64> write(QIODevice &out, const Progress &progress) const;
    // The same into a file that appears complete or not at all: a stopped or failed export
    // leaves no file and an existing one as it was.
    std::optional<qint64> save(const QString &path, const Progress &progress) const;
    // save() with a progress dialog over the parent that the user can cancel; total is the
    // number of rows expected.
    std::optional<qint64> saveWithProgress(const QString &path, qint64 total,
                                           QWidget *parent) const;

    static constexpr int PageRows = 1000;
    static const QString ProgressCaption;    // "匯出"
    static const QString ProgressText;       // "正在匯出 %1 / %2 筆資料..."
    static const QString CancelCaption;      // "取消"
    static const QString CannotWriteMessage; // "無法寫入檔案 %1:\n%2"

private:
    const DataSet &m_set;
    QList<CsvColumn> m_columns;
};

} // namespace tb
