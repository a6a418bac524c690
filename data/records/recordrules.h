#pragma once

namespace tb {

class DataSet;
class Field;

// What a screen or a document model decides about the records of one record set: the events
// that may refuse a record (by throwing, or by DataSet::Abort for a silent stop) or change
// it. One object per record set, installed with DataSet::setRules; what merely happened is
// told by the record set's signals instead.
class RecordRules
{
public:
    virtual ~RecordRules() = default;

    // A new record was made (master link fields filled); defaults set here do not count as
    // the user's changes.
    virtual void newRecord(DataSet &) {}
    // The calculated fields of the row in the buffer are due (a row read, a field changed).
    virtual void calculateFields(DataSet &) {}
    // A value is being set on a field, before it is stored.
    virtual void validateField(Field &) {}
    // The record in edit or insert is about to be written.
    virtual void beforePost(DataSet &) {}
    // The current record is about to be deleted.
    virtual void beforeDelete(DataSet &) {}
};

} // namespace tb
