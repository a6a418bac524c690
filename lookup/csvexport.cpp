#include "lookup/csvexport.h"

#include "controls/dbgrid.h"
#include "data/records/dataset.h"
#include "data/records/datasource.h"
#include "lookup/csvwriter.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QProgressDialog>
#include <QSaveFile>

#include <stdexcept>

namespace tb {

const QString CsvExport::ProgressCaption = QStringLiteral("匯出");
const QString CsvExport::ProgressText = QStringLiteral("正在匯出 %1 / %2 筆資料...");
const QString CsvExport::CancelCaption = QStringLiteral("取消");
const QString CsvExport::CannotWriteMessage = QStringLiteral("無法寫入檔案 %1:\n%2");

namespace {

[[noreturn]] void cannotWrite(const QString &path, const QString &reason)
{
    throw std::runtime_error(CsvExport::CannotWriteMessage
                                 .arg(QDir::toNativeSeparators(path), reason)
                                 .toStdString());
}

} // namespace

CsvExport::CsvExport(const DataSet &set, QList<CsvColumn> columns)
    : m_set(set), m_columns(std::move(columns))
{
}

QString CsvExport::rowCountText(qint64 rows)
{
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(rows);
}

QList<CsvColumn> CsvExport::gridColumns(const DBGrid &grid)
{
    QList<CsvColumn> columns;
    for (const auto &[title, field] : grid.shownColumns())
        columns.append({title, field ? field->Index() : -1,
                        field ? field->DataType() : FieldType::String});
    return columns;
}

QString CsvExport::cellText(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return {};
    if (type == FieldType::DateTime && value.canConvert<QDate>() && value.toDate().isValid())
        return value.toDate().toString(Qt::ISODate);
    if (type == FieldType::Integer)
        return QString::number(value.toLongLong());
    return CsvWriter::inertText(value.toString());
}

std::optional<qint64> CsvExport::write(QIODevice &out, const Progress &progress) const
{
    const auto put = [&out](const QByteArray &bytes) {
        if (out.write(bytes) != bytes.size())
            throw std::runtime_error(out.errorString().toStdString());
    };
    put(CsvWriter::byteOrderMark());
    QStringList titles;
    for (const CsvColumn &column : m_columns)
        titles << column.title;
    put(CsvWriter::record(titles).toUtf8());

    qint64 rows = 0;
    Bookmark after;
    for (;;) {
        const QVector<RowSnapshot> page = m_set.ReadRows(after, PageRows, true);
        QString text;
        for (const RowSnapshot &row : page) {
            QStringList cells;
            for (const CsvColumn &column : m_columns)
                cells << cellText(row.values.value(column.field), column.type);
            text += CsvWriter::record(cells);
        }
        put(text.toUtf8());
        rows += page.size();
        if (progress && !progress(rows))
            return std::nullopt;
        if (page.size() < PageRows)
            return rows;
        after = page.constLast().bookmark;
    }
}

std::optional<qint64> CsvExport::save(const QString &path, const Progress &progress) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString());
    std::optional<qint64> rows;
    try {
        rows = write(file, progress);
    } catch (const std::runtime_error &error) {
        file.cancelWriting();
        cannotWrite(path, QString::fromUtf8(error.what()));
    }
    if (!rows) {
        file.cancelWriting();
        return std::nullopt;
    }
    if (!file.commit())
        cannotWrite(path, file.errorString());
    return rows;
}

std::optional<qint64> CsvExport::saveWithProgress(const QString &path, qint64 total,
                                                  QWidget *parent) const
{
    const int maximum = int(std::min<qint64>(total, std::numeric_limits<int>::max()));
    QProgressDialog dialog(ProgressText.arg(rowCountText(0), rowCountText(total)), CancelCaption, 0,
                           maximum, parent);
    dialog.setObjectName(QStringLiteral("ExportProgress"));
    dialog.setWindowTitle(ProgressCaption);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);
    return save(path, [&](qint64 rows) {
        dialog.setLabelText(ProgressText.arg(rowCountText(rows), rowCountText(total)));
        dialog.setValue(int(std::min<qint64>(rows, maximum)));
        return !dialog.wasCanceled();
    });
}

} // namespace tb
