#include "data/records/field.h"

#include "data/records/dataset.h"
#include "data/records/dataset_p.h"
#include "data/book/errors.h"
#include "data/records/fieldmessages.h"
#include "data/book/fieldvalue.h"
#include "data/book/shortdate.h"

namespace tb {

Field::Field(DataSet *owner, QString name, FieldType type, int size, FieldKind kind)
    : m_owner(owner), m_name(std::move(name)), m_type(type), m_size(size), m_kind(kind)
{
}

QString Field::DisplayLabel() const
{
    return m_owner->displayLabel(m_name);
}

bool Field::IsNull() const
{
    return AsVariant().isNull();
}

QVariant Field::AsVariant() const
{
    return m_owner->fieldValue(this);
}

QString Field::AsString() const
{
    const QVariant v = AsVariant();
    if (v.isNull())
        return {};
    switch (m_type) {
    case FieldType::Integer:
        return QString::number(v.toInt());
    case FieldType::DateTime:
        return ShortDate::format(v.toDate());
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    return v.toString();
}

double Field::AsFloat() const
{
    const QVariant v = AsVariant();
    if (v.isNull())
        return 0;
    switch (m_type) {
    case FieldType::Integer:
        return v.toInt();
    case FieldType::DateTime:
        return fieldvalue::dateToNumber(v.toDate());
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    bool ok = false;
    const double result = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw DatabaseError(formatMessage(QStringLiteral("'%s' is not a valid floating point value"),
                                          {v.toString()}));
    return result;
}

qint32 Field::AsInteger() const
{
    const QVariant v = AsVariant();
    if (v.isNull())
        return 0;
    if (m_type == FieldType::Integer)
        return v.toInt();
    return fieldvalue::convert(FieldType::Integer, m_type == FieldType::DateTime
                                   ? QVariant(fieldvalue::dateToNumber(v.toDate())) : v,
                               m_name).toInt();
}

QDateTime Field::AsDateTime() const
{
    const QVariant v = AsVariant();
    if (v.isNull())
        return {};
    const QVariant date = m_type == FieldType::DateTime
        ? v : fieldvalue::convert(FieldType::DateTime, v, m_name);
    return date.isNull() ? QDateTime() : QDateTime(date.toDate(), QTime(0, 0));
}

void Field::setAsVariant(const QVariant &value)
{
    QVariant converted;
    try {
        converted = fieldvalue::convert(m_type, value, m_name);
    } catch (const DatabaseError &error) {
        if (m_kind == FieldKind::Calculated && m_owner->d->calcDepth > 0) {
            m_owner->refuseCalculatedValue(this, value, error.message());
            return;
        }
        throw DatabaseError(fieldmessages::valueRefused(*this, value, error.message()),
                            error.engineCode());
    }
    m_owner->setFieldValue(this, converted);
}

void Field::setAsString(const QString &text)
{
    setAsVariant(text.isEmpty() ? QVariant() : QVariant(text));
}

void Field::setAsFloat(double value)
{
    setAsVariant(value);
}

void Field::setAsInteger(qint32 value)
{
    setAsVariant(QVariant::fromValue(value));
}

void Field::setAsDateTime(const QDateTime &value)
{
    setAsVariant(value.isValid() ? QVariant(value.date()) : QVariant());
}

void Field::Clear()
{
    setAsVariant(QVariant());
}

} // namespace tb
