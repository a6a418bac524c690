#include "data/records/dataset.h"

#include "data/records/dataset_p.h"
#include "data/book/big5.h"
#include "data/book/errors.h"
#include "data/records/fieldmessages.h"
#include "data/book/fieldvalue.h"
#include "data/records/recordrules.h"

namespace tb {

// DataSet, part two: its fields and the values of the current row, derived ones included.

QStringList splitFieldNames(const QString &names)
{
    QStringList result;
    for (const QString &n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = n.trimmed();
        if (!t.isEmpty())
            result << t;
    }
    return result;
}

// ---- fields ----------------------------------------------------------------------------

Field *DataSet::AddField(const QString &name, FieldType type, int size)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    if (FindField(name))
        throw DatabaseError(formatMessage(QStringLiteral("Duplicate field name '%s'"), {name}));
    auto field = std::make_unique<Field>(this, name, type, size, FieldKind::Data);
    field->m_index = int(d->fields.size());
    d->fields.push_back(std::move(field));
    return d->fields.back().get();
}

Field *DataSet::AddCalculatedField(const QString &name, FieldType type, int size)
{
    Field *f = AddField(name, type, size);
    f->m_kind = FieldKind::Calculated;
    return f;
}

Field *DataSet::AddLookupField(const QString &name, FieldType type, int size,
                               const QString &keyFields, DataSet *lookupDataSet,
                               const QString &lookupKeyFields, const QString &resultField)
{
    Field *f = AddField(name, type, size);
    f->m_kind = FieldKind::Lookup;
    f->KeyFields = keyFields;
    f->LookupDataSet = lookupDataSet;
    f->LookupKeyFields = lookupKeyFields;
    f->LookupResultField = resultField;
    return f;
}

Field *DataSet::addDynamicField(const QString &name, FieldType type, int size)
{
    if (d->dynamicFrom < 0)
        d->dynamicFrom = int(d->fields.size());
    auto field = std::make_unique<Field>(this, name, type, size, FieldKind::Data);
    field->m_index = int(d->fields.size());
    d->fields.push_back(std::move(field));
    return d->fields.back().get();
}

void DataSet::setDisplayLabel(const QString &fieldName, const QString &label)
{
    d->displayLabels.insert(fieldName.trimmed().toLower(), label);
}

QString DataSet::displayLabel(const QString &fieldName) const
{
    return d->displayLabels.value(fieldName.trimmed().toLower());
}

Field *DataSet::FieldByName(const QString &name) const
{
    if (Field *f = FindField(name))
        return f;
    throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"), {name}));
}

Field *DataSet::FindField(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const auto &f : d->fields)
        if (f->FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

int DataSet::FieldCount() const
{
    return int(d->fields.size());
}

Field *DataSet::FieldAt(int index) const
{
    return index >= 0 && index < FieldCount() ? d->fields[size_t(index)].get() : nullptr;
}

QVector<QVariant> DataSet::blankValues() const
{
    return QVector<QVariant>(FieldCount());
}

// ---- field values ------------------------------------------------------------------------

void DataSet::computeDerived(QVector<QVariant> &values, bool current) const
{
    bool anyCalc = false;
    for (const auto &f : d->fields) {
        if (f->Kind() == FieldKind::Calculated) {
            values[f->Index()] = QVariant();
            anyCalc = true;
        } else if (f->Kind() == FieldKind::Lookup) {
            QVariant result;
            DataSet *other = f->LookupDataSet;
            // A look-up into a set that is not open yet shows nothing rather than failing
            // the read of this row.
            if (other && other->Active()) {
                const QStringList keys = splitFieldNames(f->KeyFields);
                QVariantList keyValues;
                bool allNull = true;
                for (const QString &k : keys) {
                    const QVariant v = values[FieldByName(k)->Index()];
                    allNull = allNull && v.isNull();
                    keyValues << v;
                }
                if (!allNull && !keys.isEmpty())
                    result = other->Lookup(f->LookupKeyFields,
                                           keyValues.size() == 1 ? keyValues.first()
                                                                 : QVariant(keyValues),
                                           f->LookupResultField);
            }
            values[f->Index()] = fieldvalue::convert(f->DataType(), result, f->FieldName());
        }
    }
    // Rules are asked only where there is something to calculate.
    if (!d->rules || !anyCalc)
        return;
    auto *self = const_cast<DataSet *>(this);
    if (current) {
        ++d->calcDepth;
        try {
            d->rules->calculateFields(*self);
        } catch (...) {
            --d->calcDepth;
            throw;
        }
        --d->calcDepth;
        return;
    }
    // A scratch row: the handler reads the fields, so the row stands in the buffer meanwhile.
    QVector<QVariant> saved = d->buf;
    d->buf = values;
    ++d->calcDepth;
    try {
        d->rules->calculateFields(*self);
    } catch (...) {
        --d->calcDepth;
        d->buf = saved;
        throw;
    }
    --d->calcDepth;
    values = d->buf;
    d->buf = saved;
}

bool DataSet::hasDerivedOn(const Field *changed) const
{
    // (rules calculate only calculated fields, which the loop below finds)
    for (const auto &f : d->fields) {
        if (f->Kind() == FieldKind::Calculated)
            return true;
        if (f->Kind() == FieldKind::Lookup && changed
            && splitFieldNames(f->KeyFields).contains(changed->FieldName(), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void DataSet::notifyDerivedChanges(const QVector<QVariant> &before)
{
    for (const auto &f : d->fields)
        if (f->Kind() != FieldKind::Data && before.value(f->Index()) != d->buf[f->Index()])
            notifyRecord(f.get());
}

void DataSet::refuseCalculatedValue(Field *field, const QVariant &value, const QString &error)
{
    if (!d->calcInput) {
        // Reading a row never fails on what it calculates: the value shows as empty.
        d->buf[field->Index()] = QVariant();
        return;
    }
    if (field->DataType() != FieldType::Integer)
        throw DatabaseError(error);
    const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    const QString shown = number ? QString::number(value.toDouble(), 'f', 0) : value.toString();
    const QString layerText = formatMessage(
        QStringLiteral("Field '%s': the calculated value %s of field '%s' is out of range "
                       "(-2147483648 to 2147483647)"),
        {d->calcInput->FieldName(), shown, field->FieldName()});
    throw DatabaseError(
        fieldmessages::calculatedOutOfRange(*d->calcInput, *field, shown, layerText));
}

QVariant DataSet::fieldValue(const Field *field) const
{
    if (!Active() || field->m_index < 0 || field->m_index >= d->buf.size())
        return {};
    return d->buf[field->m_index];
}

void DataSet::setFieldValue(Field *field, const QVariant &value)
{
    if (!Active())
        throw DatabaseError(QString::fromLatin1(NotEditingMessage));
    const int i = field->Index();
    if (d->calcDepth > 0) {
        if (field->Kind() != FieldKind::Calculated)
            throw DatabaseError(formatMessage(QStringLiteral("Field '%s' cannot be modified"),
                                              {field->FieldName()}));
        d->buf[i] = value;
        return;
    }
    if (!Editing())
        throw DatabaseError(QString::fromLatin1(NotEditingMessage));
    if (field->Kind() == FieldKind::Data)
        checkText(field, value);
    if (field->Kind() == FieldKind::Lookup) {
        setLookupValue(field, value);
        return;
    }
    if (field->Kind() == FieldKind::Calculated) {
        d->buf[i] = value;
        notifyRecord(field);
        return;
    }
    const QVector<QVariant> before = d->buf;
    d->buf[i] = value;
    try {
        if (d->rules)
            d->rules->validateField(*field);
        // A value whose calculated consequences do not fit is refused here, where it is
        // typed, rather than when the row is read again.
        if (hasDerivedOn(field)) {
            d->calcInput = field;
            computeDerived(d->buf, true);
            d->calcInput = nullptr;
        }
    } catch (...) {
        d->calcInput = nullptr;
        d->buf[i] = before[i];
        try {
            if (hasDerivedOn(field))
                computeDerived(d->buf, true);
        } catch (...) {
        }
        throw;
    }
    d->modified = true;
    notifyRecord(field);
    notifyDerivedChanges(before);
}

// Text goes into a column only when the column can hold it: characters it can store, and
// no more Big5 bytes than its width. Whoever writes the field, a box or code, hears of it.
void DataSet::checkText(const Field *field, const QVariant &value) const
{
    const FieldType type = field->DataType();
    if ((type != FieldType::String && type != FieldType::Memo) || value.isNull())
        return;
    const QString text = value.toString();
    const qsizetype refused = big5::firstUnstorable(text, type == FieldType::Memo);
    if (refused >= 0) {
        const uint code = text.at(refused).isHighSurrogate() && refused + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(refused), text.at(refused + 1))
            : text.at(refused).unicode();
        throw DatabaseError(fieldmessages::characterRefused(
            *field,
            formatMessage(QStringLiteral("Field '%s' cannot store the character U+%s"),
                          {field->FieldName(),
                           QString::number(code, 16).toUpper().rightJustified(4, u'0')})));
    }
    const int bytes = big5::width(text);
    if (type == FieldType::String && field->Size() > 0 && bytes > field->Size())
        throw DatabaseError(fieldmessages::textTooWide(
            *field, bytes,
            formatMessage(
                QStringLiteral("Text of %s bytes is too long for field '%s', which holds %s"),
                {QString::number(bytes), field->FieldName(), QString::number(field->Size())})));
}

void DataSet::setLookupValue(Field *field, const QVariant &value)
{
    const QStringList keys = splitFieldNames(field->KeyFields);
    const QStringList lookupKeys = splitFieldNames(field->LookupKeyFields);
    for (int k = 0; k < keys.size(); ++k) {
        QVariant key;
        if (!value.isNull() && field->LookupDataSet && k < lookupKeys.size())
            key = field->LookupDataSet->Lookup(field->LookupResultField, value, lookupKeys[k]);
        FieldByName(keys[k])->setAsVariant(key);
    }
}

} // namespace tb
