#include "data/book/errors.h"

#include <QStringList>

namespace tb {

QString formatMessage(const QString &pattern, const QStringList &args)
{
    QString result;
    result.reserve(pattern.size() + 32);
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('%') && i + 1 < pattern.size()
            && pattern[i + 1] == QLatin1Char('s')) {
            result += next < args.size() ? args[next] : QString();
            ++next;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

} // namespace tb
