#pragma once

#include "data/book/schema.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace tb {

class DataSet;

enum class FieldKind { Data, Lookup, Calculated };

// One field of a record set's current row. Values are null or of the field's type:
// QString (String, Memo), qint32 (Integer), QDate (DateTime; the time of day is always zero).
// Reads and writes go through the owning DataSet, which enforces its state rules.
class Field
{
public:
    Field(DataSet *owner, QString name, FieldType type, int size, FieldKind kind);

    const QString &FieldName() const { return m_name; }
    FieldType DataType() const { return m_type; }
    int Size() const { return m_size; }          // Big5 bytes for String fields, else 0
    FieldKind Kind() const { return m_kind; }
    DataSet *dataSet() const { return m_owner; }
    int Index() const { return m_index; }        // position in DataSet::Fields()
    // The caption users know the field by ("" when its screen gave none).
    QString DisplayLabel() const;

    bool IsNull() const;
    QVariant AsVariant() const;
    QString AsString() const;    // null gives ""; dates in the application's short date format
    double AsFloat() const;      // null gives 0
    qint32 AsInteger() const;    // null gives 0
    QDateTime AsDateTime() const;// null gives an invalid QDateTime

    // Each setter fails with "Dataset not in edit or insert mode" outside edit/insert
    // (calculated fields may be set while the rules calculate), converts, asks the rules
    // validateField (which may throw to refuse the value),
    // then marks the record modified and notifies the bound controls.
    void setAsVariant(const QVariant &value);
    // "" makes the field null. Integer: "'%s' is not a valid integer value for field '%s'".
    // DateTime: parsed with the short date format, "'%s' is not a valid date".
    void setAsString(const QString &text);
    // Integer fields round to the nearest whole number, exactly halfway to even.
    void setAsFloat(double value);
    void setAsInteger(qint32 value);
    void setAsDateTime(const QDateTime &value);
    void Clear();

    // Lookup definition (Kind() == Lookup): this row's KeyFields are matched against
    // LookupKeyFields of LookupDataSet, and the field shows that row's LookupResultField.
    // Setting a lookup field locates the row whose result equals the value and copies its
    // key into KeyFields (null when none matches).
    QString KeyFields;
    DataSet *LookupDataSet = nullptr;
    QString LookupKeyFields;
    QString LookupResultField;

private:
    friend class DataSet;
    DataSet *m_owner;
    QString m_name;
    FieldType m_type;
    int m_size;
    FieldKind m_kind;
    int m_index = -1;
};

} // namespace tb
