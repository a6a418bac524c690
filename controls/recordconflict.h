#pragma once

#include <QString>

namespace tb {

class DataSet;

// After an edit was refused because another user changed the stored record since it was
// opened: asks whether to reload the record's current values keeping the fields the user
// changed. Yes reloads them (the set stays in edit, and the next save writes over the
// stored values knowingly); No leaves everything as it is, for 取消 or another try.
void offerReload(DataSet *set);

// "要重新載入這筆資料目前儲存的內容,並保留您修改過的欄位嗎?..."
extern const QString ReloadQuestion;
// The record is gone: there is nothing to reload.
extern const QString RecordGoneMessage;

} // namespace tb
