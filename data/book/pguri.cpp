#include "data/book/pguri.h"

#include "data/book/errors.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace tb {

namespace {

const QString Schemes[] = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};

[[noreturn]] void refuse(const QString &text, const QString &why)
{
    throw DatabaseError(QStringLiteral("資料庫位址 %1 無法使用: %2").arg(text, why));
}

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

// A value as libpq's connection string reads it: quoted, with quote and backslash escaped.
QString conninfoValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

QString PgUri::masked(const QString &text)
{
    if (!isUri(text))
        return text;
    QString safe = text;
    // The password follows the user name's colon up to the last @ before the parameters:
    // typed raw, it may hold a slash or an @ of its own.
    const qsizetype begin = safe.indexOf(QLatin1String("://")) + 3;
    const qsizetype query = safe.indexOf(QLatin1Char('?'), begin);
    const qsizetype at = safe.lastIndexOf(QLatin1Char('@'), query < 0 ? -1 : query);
    const qsizetype colon = safe.indexOf(QLatin1Char(':'), begin);
    if (at > begin && colon >= 0 && colon < at)
        safe.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    static const QRegularExpression parameter(QStringLiteral("([?&]password=)[^&]*"),
                                              QRegularExpression::CaseInsensitiveOption);
    safe.replace(parameter, QStringLiteral("\\1***"));
    return safe;
}

bool PgUri::isUri(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &scheme : Schemes)
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return true;
    return false;
}

PgUri PgUri::parse(const QString &input)
{
    const QString text = input.trimmed();
    const QString safe = masked(text);
    if (!isUri(text))
        refuse(safe, QStringLiteral("不是 postgresql:// 開頭的位址"));
    // Refused before it is taken apart, so that no piece of it reaches a message.
    if (safe != text)
        refuse(safe, QStringLiteral("密碼不可以寫在位址裡,請放在 ~/.pgpass 或 PGPASSWORD"));
    QString rest = text.mid(text.indexOf(QLatin1String("://")) + 3);
    PgUri uri;
    QString query;
    if (const qsizetype q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest.truncate(q);
    }
    QString authority = rest;
    QString path;
    if (const qsizetype slash = rest.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = rest.left(slash);
        path = rest.mid(slash + 1);
    }
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        if (userInfo.contains(QLatin1Char(':')))
            refuse(safe, QStringLiteral("密碼不可以寫在位址裡,請放在 ~/.pgpass 或 PGPASSWORD"));
        uri.m_user = decoded(userInfo);
        authority = authority.mid(at + 1);
    }
    if (authority.contains(QLatin1Char(',')))
        refuse(safe, QStringLiteral("只能指定一台伺服器"));
    QString host = authority;
    QString port;
    if (host.startsWith(QLatin1Char('['))) { // [IPv6]:port
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            refuse(safe, QStringLiteral("IPv6 位址少了 ]"));
        port = host.mid(close + 1).startsWith(QLatin1Char(':')) ? host.mid(close + 2) : QString();
        host = host.mid(1, close - 1);
    } else if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        port = host.mid(colon + 1);
        host.truncate(colon);
    }
    uri.m_host = decoded(host);
    if (!port.isEmpty())
        uri.setParameter(QStringLiteral("port"), port, safe);
    uri.m_database = decoded(path);
    uri.readQuery(query, safe);
    if (uri.m_database.isEmpty())
        refuse(safe, QStringLiteral("沒有指定資料庫名稱 (postgresql://伺服器/資料庫名稱)"));
    return uri;
}

void PgUri::readQuery(const QString &query, const QString &text)
{
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0)
            refuse(text, QStringLiteral("參數 %1 沒有值").arg(pair));
        setParameter(decoded(pair.left(eq)), decoded(pair.mid(eq + 1)), text);
    }
}

void PgUri::setParameter(const QString &key, const QString &value, const QString &text)
{
    static const QRegularExpression name(QStringLiteral("^[a-z_]+$"));
    if (!name.match(key).hasMatch())
        refuse(text, QStringLiteral("參數名稱 %1 不正確").arg(key));
    if (key == QLatin1String("password"))
        refuse(text, QStringLiteral("密碼不可以寫在位址裡,請放在 ~/.pgpass 或 PGPASSWORD"));
    // The driver reads ";" as the end of a parameter.
    if (value.contains(QLatin1Char(';')))
        refuse(text, QStringLiteral("參數 %1 的值不可以含有分號").arg(key));
    if (key == QLatin1String("host")) {
        if (value.contains(QLatin1Char(',')))
            refuse(text, QStringLiteral("只能指定一台伺服器"));
        m_host = value;
    } else if (key == QLatin1String("port")) {
        bool ok = false;
        const int port = value.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            refuse(text, QStringLiteral("連接埠 %1 不正確").arg(value));
        m_port = port;
    } else if (key == QLatin1String("user")) {
        m_user = value;
    } else if (key == QLatin1String("dbname")) {
        m_database = value;
    } else {
        m_parameters.append({key, value});
    }
}

QString PgUri::displayName() const
{
    return describe(m_host, m_port, m_database);
}

QString PgUri::describe(const QString &host, int port, const QString &database)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('/'))) {
        const QString socket = host.isEmpty() ? QStringLiteral("預設") : host;
        return QStringLiteral("本機 (socket %1) 的資料庫 %2").arg(socket, database);
    }
    QString server = host.contains(QLatin1Char(':'))
        ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (port > 0)
        server += QLatin1Char(':') + QString::number(port);
    return QStringLiteral("伺服器 %1 的資料庫 %2").arg(server, database);
}

void PgUri::applyTo(QSqlDatabase &db) const
{
    db.setHostName(m_host);
    db.setPort(m_port);
    db.setUserName(m_user);
    db.setPassword(QString());
    db.setDatabaseName(m_database);
    QStringList options;
    bool timeout = false;
    bool application = false;
    for (const auto &[key, value] : m_parameters) {
        options << key + QLatin1Char('=') + conninfoValue(value);
        timeout = timeout || key == QLatin1String("connect_timeout");
        application = application || key == QLatin1String("application_name");
    }
    // A server that does not answer ends start-up after a while, not never.
    if (!timeout)
        options << QStringLiteral("connect_timeout=10");
    if (!application)
        options << QStringLiteral("application_name=tradebook");
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

} // namespace tb
