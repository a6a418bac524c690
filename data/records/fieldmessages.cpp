#include "data/records/fieldmessages.h"

#include "data/records/field.h"
#include "data/book/fieldvalue.h"

namespace tb::fieldmessages {

namespace {

const QString IntegerRange = QStringLiteral("-2147483648 到 2147483647");

QString withSentence(const QString &sentence, const QString &layerText)
{
    return sentence + QLatin1Char('\n') + layerText;
}

QString valueText(const QVariant &value)
{
    const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    return number ? QString::number(value.toDouble(), 'f', 0) : value.toString();
}

QString captionOf(const Field &field)
{
    const QString label = field.DisplayLabel();
    return label.isEmpty() ? field.FieldName() : label;
}

} // namespace

QString valueRefused(const Field &field, const QVariant &value, const QString &layerText)
{
    const QString caption = field.DisplayLabel();
    if (caption.isEmpty())
        return layerText;
    const QString text = valueText(value);
    switch (field.DataType()) {
    case FieldType::Integer:
        if (fieldvalue::isWholeNumber(text)
            || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return withSentence(
                QStringLiteral("「%1」的值 %2 超出可存的整數範圍(%3),請改用較小的數字後再試一次。")
                    .arg(caption, text, IntegerRange),
                layerText);
        return withSentence(
            QStringLiteral("「%1」只能填入整數,「%2」不是整數,請改正後再試一次。")
                .arg(caption, text),
            layerText);
    case FieldType::DateTime:
        return withSentence(
            QStringLiteral("「%1」的「%2」不是有效的日期,請改正後再試一次。").arg(caption, text),
            layerText);
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    return withSentence(QStringLiteral("「%1」無法存入「%2」,請改正後再試一次。").arg(caption, text),
                        layerText);
}

QString calculatedOutOfRange(const Field &input, const Field &result, const QString &value,
                             const QString &layerText)
{
    if (input.DisplayLabel().isEmpty() && result.DisplayLabel().isEmpty())
        return layerText;
    return withSentence(
        QStringLiteral("填入「%1」後,「%2」會是 %3,超出可存的整數範圍(%4),"
                       "請改用較小的數字後再試一次。")
            .arg(captionOf(input), captionOf(result), value, IntegerRange),
        layerText);
}

QString characterRefused(const Field &field, const QString &layerText)
{
    const QString caption = field.DisplayLabel();
    if (caption.isEmpty())
        return layerText;
    return withSentence(
        QStringLiteral("「%1」不能存入這個字元 (例如表情符號或控制字元),請刪去它後再試一次。")
            .arg(caption),
        layerText);
}

QString textTooWide(const Field &field, int bytes, const QString &layerText)
{
    const QString caption = field.DisplayLabel();
    if (caption.isEmpty())
        return layerText;
    return withSentence(
        QStringLiteral("「%1」最多可存 %2 個位元組 (一個中文字算兩個),這段文字有 %3 個,"
                       "請縮短後再試一次。")
            .arg(caption, QString::number(field.Size()), QString::number(bytes)),
        layerText);
}

} // namespace tb::fieldmessages
