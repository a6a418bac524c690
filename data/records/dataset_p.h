#pragma once

#include "data/records/dataset.h"
#include "data/records/datasource.h"

#include <QHash>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

namespace tb {

// The error for writing a field outside edit or insert.
inline constexpr char NotEditingMessage[] = "Dataset not in edit or insert mode";

// Where a record set stood before a write inside a transaction, to go back there when the
// transaction rolls back.
struct DataSetSnapshot
{
    DataSetState state = DataSetState::Inactive;
    bool bof = true;
    bool eof = true;
    bool hasRow = false;
    QVector<QVariant> buf;
    QVector<QVariant> oldBuf;
    Bookmark bookmark;
    Bookmark insertReturn;
    bool modified = false;
    std::function<void()> restoreDriver; // the driver's own state (a cache's pending rows)
};

struct DataSet::Impl
{
    std::vector<std::unique_ptr<Field>> fields;
    int dynamicFrom = -1; // first field created by Open (removed again by Close)
    QHash<QString, QString> displayLabels; // by field name in lower case

    DataSetState state = DataSetState::Inactive;
    bool bof = true;
    bool eof = true;
    bool hasRow = false;          // a stored row is current (browse or edit)
    QVector<QVariant> buf;        // current values by Field::Index()
    QVector<QVariant> oldBuf;     // values when Edit began
    Bookmark bookmark;            // the current row's
    Bookmark insertReturn;        // where a cancelled insert goes back to
    bool modified = false;

    std::vector<QPointer<DataSource>> sources;
    int disableCount = 0;
    bool activeChangedWhileDisabled = false;

    RecordRules *rules = nullptr;
    bool cached = false;
    int calcDepth = 0;            // rules calculating: only calculated fields are written
    Field *calcInput = nullptr;   // the field whose new value is being calculated from
};

} // namespace tb
