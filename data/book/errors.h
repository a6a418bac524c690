#pragma once

#include <QString>

#include <exception>

namespace tb {

// An error the user is meant to read: a refused post, a conversion, a missing table.
// Handlers never catch it; the application's guard shows its message (see controls/guard.h).
class DatabaseError : public std::exception
{
public:
    explicit DatabaseError(QString message, QString engineCode = {})
        : m_message(std::move(message)), m_engineCode(std::move(engineCode)),
          m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    // The database engine's own code for the error, when the engine raised it.
    const QString &engineCode() const { return m_engineCode; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QString m_engineCode;
    QByteArray m_utf8;
};

// The layer's message for a duplicate key: the one refusal a screen may want to tell apart
// (another copy of the application took the number first).
inline const QString KeyViolationMessage = QStringLiteral("Key violation.");

// The layer's text for an edit refused because the stored record is no longer what the edit
// started from: another user changed or deleted it since it was read.
inline const QString RecordChangedText =
    QStringLiteral("Record not found or changed by another user");

// That refusal, with the sentence the user reads first. A screen may catch it to offer
// reloading the record (DataSet::ReloadKeepingChanges); the guard shows it like any other.
class RecordChangedError : public DatabaseError
{
public:
    RecordChangedError() : DatabaseError(Sentence + QLatin1Char('\n') + RecordChangedText) {}
    static inline const QString Sentence = QStringLiteral(
        "這筆資料在您開啟之後已被其他使用者修改或刪除,這次的變更沒有寫入。");
};

// Stops the running operation and the handler that called it without any message.
class SilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "silent abort"; }
};

[[noreturn]] inline void Abort() { throw SilentAbort(); }

// Formats a message template with %s placeholders, in order.
QString formatMessage(const QString &pattern, const QStringList &args);

} // namespace tb
