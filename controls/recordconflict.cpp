#include "controls/recordconflict.h"

#include "controls/dialogs.h"
#include "data/records/dataset.h"
#include "data/book/errors.h"

namespace tb {

const QString ReloadQuestion = QStringLiteral(
    "要重新載入這筆資料目前儲存的內容,並保留您修改過的欄位嗎?"
    "載入後請檢查內容,再按「儲存」。");
const QString RecordGoneMessage = QStringLiteral(
    "這筆資料已被其他使用者刪除,無法重新載入。請按「取消」放棄修改。");

void offerReload(DataSet *set)
{
    const QString question = RecordChangedError::Sentence + QLatin1Char('\n') + ReloadQuestion
                             + QLatin1Char('\n') + RecordChangedText;
    if (!Confirm(question))
        return;
    if (!set->ReloadKeepingChanges())
        ShowMessage(RecordGoneMessage + QLatin1Char('\n') + RecordChangedText);
}

} // namespace tb
