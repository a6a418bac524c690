#pragma once

#include <QString>
#include <QVariant>

namespace tb {

class Field;

// What a user reads when a field refuses a value: a sentence naming the field by its
// caption (see Field::DisplayLabel) and saying what to do, the layer's own text below it.
// A field without a caption keeps the layer's text alone.
namespace fieldmessages {

// The value could not be converted to the field's type, or is out of its range.
QString valueRefused(const Field &field, const QVariant &value, const QString &layerText);
// Setting input makes the calculated field result a value it cannot hold.
QString calculatedOutOfRange(const Field &input, const Field &result, const QString &value,
                             const QString &layerText);

// The text holds a character the column cannot store (an emoji, a control character).
QString characterRefused(const Field &field, const QString &layerText);
// The text is wider, in Big5 bytes, than the column holds.
QString textTooWide(const Field &field, int bytes, const QString &layerText);

} // namespace fieldmessages

} // namespace tb
