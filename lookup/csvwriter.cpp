#include "lookup/csvwriter.h"

namespace tb {

QByteArray CsvWriter::byteOrderMark()
{
    return QByteArrayLiteral("\xEF\xBB\xBF");
}

QString CsvWriter::inertText(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front()))
        return text;
    return QLatin1Char('\'') + text;
}

QString CsvWriter::field(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quoted = false;
    for (QChar c : text)
        quoted = quoted || special.contains(c);
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString CsvWriter::record(const QStringList &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += field(fields[i]);
    }
    return line + QLatin1String("\r\n");
}

} // namespace tb
