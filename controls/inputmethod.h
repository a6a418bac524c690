#pragma once

#include <QString>

class QWidget;

namespace tb {

// Names the Traditional-Chinese input method a control asks for while it has the focus
// ("中文 (繁體) - 倉頡" and so on). Kept as the dynamic property "inputMethodName"; the
// platform input context may use it, and tests read it.
void setInputMethodName(QWidget *widget, const QString &name);
QString inputMethodName(const QWidget *widget);

namespace ime {
inline const QString Cangjie = QStringLiteral("中文 (繁體) - 倉頡");
inline const QString NewCangjie = QStringLiteral("中文 (繁體) - 新倉頡");
inline const QString Zhuyin = QStringLiteral("中文 (繁體) - 注音");
inline const QString Alphanumeric = QStringLiteral("中文 (繁體) - 英數");
} // namespace ime

} // namespace tb
