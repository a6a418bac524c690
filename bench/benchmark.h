#pragma once

#include "bench/baredatabase.h"
#include "bench/benchresult.h"

#include <QSize>
#include <QStringList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QWidget;

namespace tb {

class ModalWatcher;
class QueryScreenDriver;

// Times the user-visible actions on one database through the application's own windows
// and record sets, each beside the same work done by bare SQL on a second connection.
// Needs a QApplication; uses the "misAccess" alias and leaves the database as it found it.
class Benchmark
{
public:
    Benchmark(const QString &databasePath, int reps);
    ~Benchmark();

    // Limits the run to some groups of actions (open, navigate, product, query, list,
    // quote, print, export); start-up always runs. Empty: all. For profiling one action
    // at a time.
    void setOnly(const QStringList &groups);
    RunResult run();

private:
    using Action = std::function<void()>;

    OperationResult &add(const QString &key, const QString &label);
    // Runs the step once per repetition, timing only `timed`; `before` and `after` prepare
    // and tidy up. Returns the median in milliseconds.
    double measure(const Action &before, const Action &timed, const Action &after = {},
                   int maxReps = 1 << 30);
    double measure(const Action &timed) { return measure({}, timed, {}); }
    // Runs a group of measurements; an exception or an error box marks the rows failed.
    void guarded(const std::vector<QString> &keys, const Action &body);
    void checkNoErrorBox();

    void measureStartUp();
    void measureMainWindowStartUp();
    void measureRestOfStartUp();
    void measureWholeStartUp();
    double measurePlainWindows(int childrenPerWindow);
    void measureScreenOpening();
    void measureProductNavigation();
    void measureProductInsertAndSave();
    void measureProductQueries();
    void measureProductList();
    QueryScreenDriver &productQuery();
    void openProductQuery();
    void requireIndexSearches(bool listing);
    void measureQuotation();
    void measureQuotationPdf();
    void measureCsvExport();
    void measureBackup();
    void cleanUp();
    bool wanted(const QString &group) const;

    void openScreen(const QString &menuCaption, QWidget *screen);
    void backToMain(QWidget *screen);
    QAbstractButton *productButton(const char *name) const;
    QAbstractButton *quoteButton(const char *name) const;
    QString currentProductId() const;

    QString m_path;
    int m_reps;
    RunResult m_result;
    BareDatabase m_bare;
    std::unique_ptr<ModalWatcher> m_modals;
    std::unique_ptr<QueryScreenDriver> m_query;
    std::vector<QSize> m_windowSizes;
    QString m_lastGeneratedProduct;
    QString m_middleProduct;
    QStringList m_only;
    double m_peakBeforeReset = 0; // the peak memory before a long operation measured its own
};

} // namespace tb
