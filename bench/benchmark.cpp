#include "bench/benchmark.h"

#include "app/mainform.h"
#include "app/startup.h"
#include "bench/instantanswer.h"
#include "bench/modalwatcher.h"
#include "bench/queryscreendriver.h"
#include "controls/dbedit.h"
#include "controls/workwindow.h"
#include "data/book/bookbackup.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"
#include "data/book/statementcounter.h"
#include "data/records/tablecursor.h"
#include "data/book/threadpriority.h"
#include "lookup/queryscreen.h"
#include "lookup/queryscreens.h"
#include "maintenance/customer.h"
#include "maintenance/nextid.h"
#include "maintenance/product.h"
#include "sales/quote.h"
#include "sales/quotedocument.h"
#include "sales/quotepdf.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <stdexcept>

namespace tb {

namespace {

const QString LayerNote = QStringLiteral("layer; screen not built yet");
constexpr int QuoteLines = 20;
constexpr int StartUpReps = 25; // enough for a steady median of the slowest action

// Statements the application sent during the last timed action (the bare yardstick's own
// connection sends none that count).
qint64 timedStatements = 0;

double timeOnce(const std::function<void()> &action)
{
    const qint64 before = StatementCounter::count();
    QElapsedTimer timer;
    timer.start();
    action();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    timedStatements = StatementCounter::count() - before;
    return ms;
}



double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs the button's handler as its click does, without the button's own synchronous
// repaint: painting is left to the event loop, as with a real mouse click, and is not
// part of the figures (the bare statements paint nothing either).
void press(QAbstractButton *button)
{
    Q_EMIT button->clicked(false);
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void require(bool condition, const QString &what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

// A part of a screen by its object name; the run stops when the screen has none.
template<typename T>
T *named(const QObject *screen, const char *name)
{
    T *found = screen ? screen->findChild<T *>(QLatin1String(name)) : nullptr;
    require(found, QStringLiteral("no %1 on the screen").arg(QLatin1String(name)));
    return found;
}

TableCursor *productTable()
{
    return named<TableCursor>(Product, "Table1");
}

QString nextNumber(const QString &last, const QString &prefix, int digits)
{
    const int n = last.isEmpty() ? 0 : last.mid(prefix.size()).toInt();
    return prefix + (QString(digits, QLatin1Char('0')) + QString::number(n + 1)).right(digits);
}

// Peak resident set of this process in MB. /proc's VmHWM belongs to this program image;
// getrusage's ru_maxrss survives exec and would report a parent's peak (the generator's,
// when the benchmark starts its runs as child processes), so it is only the fallback.
double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Resident memory of this process now, in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Starts the peak resident memory afresh (Linux: "5" to clear_refs), so that the next
// reading is the peak of what follows. False where the system does not allow it.
bool resetPeakResident()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

Benchmark::Benchmark(const QString &databasePath, int reps)
    : m_path(databasePath), m_reps(std::max(1, reps)), m_modals(new ModalWatcher)
{
    Database::closeAll();
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), m_path);
    m_bare.open(m_path);
    m_lastGeneratedProduct = m_bare.lastProductId();
    m_result.database = m_path;
    m_result.reps = m_reps;
    m_result.products = m_bare.count(QStringLiteral("SELECT count(*) FROM Product"));
    const qint64 middle = std::max<qint64>(1, m_result.products / 2);
    m_middleProduct = QStringLiteral("PR%1").arg(middle, 6, 10, QLatin1Char('0'));
}

Benchmark::~Benchmark() = default;

void Benchmark::setOnly(const QStringList &groups)
{
    m_only = groups;
}

bool Benchmark::wanted(const QString &group) const
{
    return m_only.isEmpty() || m_only.contains(group);
}

RunResult Benchmark::run()
{
    // Start-up always runs: the other actions need the windows it makes.
    measureStartUp();
    if (wanted(QStringLiteral("open")))
        measureScreenOpening();
    if (wanted(QStringLiteral("navigate")))
        measureProductNavigation();
    if (wanted(QStringLiteral("product")))
        measureProductInsertAndSave();
    if (wanted(QStringLiteral("query")))
        measureProductQueries();
    if (wanted(QStringLiteral("list")))
        measureProductList();
    if (wanted(QStringLiteral("quote")))
        measureQuotation();
    if (wanted(QStringLiteral("print")))
        measureQuotationPdf();
    if (wanted(QStringLiteral("export")))
        measureCsvExport();
    if (wanted(QStringLiteral("backup")))
        measureBackup();
    m_result.peakRssMb = std::max(peakResidentMb(), m_peakBeforeReset);
    cleanUp();
    return m_result;
}

OperationResult &Benchmark::add(const QString &key, const QString &label)
{
    OperationResult op;
    op.key = key;
    op.label = label;
    m_result.operations.push_back(op);
    return m_result.operations.back();
}

double Benchmark::measure(const Action &before, const Action &timed, const Action &after,
                          int maxReps)
{
    std::vector<double> times;
    const int reps = std::min(m_reps, maxReps);
    for (int rep = -1; rep < reps; ++rep) { // one warm-up round, not counted
        if (before)
            before();
        const double ms = timeOnce(timed);
        if (after)
            after();
        checkNoErrorBox();
        if (rep >= 0)
            times.push_back(ms);
    }
    return median(times);
}

void Benchmark::checkNoErrorBox()
{
    QCoreApplication::processEvents();
    const QString messages = m_modals->takeMessages();
    if (!messages.isEmpty())
        throw std::runtime_error(("a dialog appeared: " + messages).toStdString());
}

void Benchmark::guarded(const std::vector<QString> &keys, const Action &body)
{
    QString error;
    try {
        body();
    } catch (const DatabaseError &e) {
        error = e.message();
    } catch (const SilentAbort &) {
        error = QStringLiteral("stopped silently");
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    }
    if (error.isEmpty())
        return;
    std::fprintf(stderr, "  error: %s\n", qPrintable(error));
    for (OperationResult &op : m_result.operations)
        if (std::find(keys.begin(), keys.end(), op.key) != keys.end() && op.error.isEmpty()
            && (op.appMs < 0 || op.bareMs < 0))
            op.error = error;
}

// ---- start-up ----------------------------------------------------------------------------

void Benchmark::measureStartUp()
{
    guarded({QStringLiteral("startup"), QStringLiteral("startup.step"),
             QStringLiteral("startup.all")},
            [&] {
                measureMainWindowStartUp();
                measureRestOfStartUp();
                measureWholeStartUp();
                if (!tb::main) {
                    require(startUp(), QStringLiteral("start-up failed"));
                    tb::main->show();
                }
                settle();
            });
}

// What the user waits for: the main window made and drawn; the application makes the other
// windows after it.
void Benchmark::measureMainWindowStartUp()
{
    OperationResult &op = add(QStringLiteral("startup"),
                              QStringLiteral("start-up to the main window shown"));
    op.bareLabel = QStringLiteral("a plain QWidget of the main window's size, shown");
    op.appMs = measure(
        [] {
            shutDown();
            settle();
        },
        [] {
            require(startMainWindow(), QStringLiteral("start-up failed"));
            tb::main->show();
            QCoreApplication::processEvents();
        },
        {}, StartUpReps);
    op.statements = int(timedStatements);
    const QSize size = tb::main->size();
    QWidget *bare = nullptr;
    op.bareMs = measure(
        {},
        [&] {
            bare = new QWidget;
            bare->resize(size);
            bare->show();
            QCoreApplication::processEvents();
        },
        [&] {
            delete bare;
            settle();
        },
        StartUpReps);
}

// The other 36 windows come one per turn of the event loop after the main window is drawn:
// the longest of those turns is how long a click may wait meanwhile.
void Benchmark::measureRestOfStartUp()
{
    OperationResult &op = add(QStringLiteral("startup.step"),
                              QStringLiteral("start-up, other windows: the longest turn"));
    const QStringList names = windowNames();
    const int reps = std::min(m_reps, StartUpReps);
    std::vector<double> longest;
    QString slowest;
    for (int rep = -1; rep < reps; ++rep) { // one warm-up round, not counted
        shutDown();
        settle();
        require(startMainWindow(), QStringLiteral("start-up failed"));
        tb::main->show();
        QCoreApplication::processEvents();
        double worst = 0;
        StartUpStep step = StartUpStep::More;
        for (int made = 1; step == StartUpStep::More; ++made) {
            const double ms = timeOnce([&] { step = createNextWindow(); });
            require(step != StartUpStep::Failed, QStringLiteral("start-up failed"));
            if (ms > worst) {
                worst = ms;
                slowest = names.value(made);
            }
        }
        checkNoErrorBox();
        if (rep >= 0)
            longest.push_back(worst);
    }
    op.appMs = median(longest);
    op.note = QStringLiteral("the slowest: %1").arg(slowest);
    QWidget *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == slowest)
            window = w;
    const QSize size = window ? window->size() : QSize();
    op.bareLabel = QStringLiteral("a plain hidden QWidget of the size of %1").arg(slowest);
    op.bareMs = measure([&] {
        QWidget bare;
        bare.resize(size);
    });
}

// Every window at once, as a first click right after the main window has been drawn waits
// for them: shown for reference, against plain windows of the same sizes.
void Benchmark::measureWholeStartUp()
{
    OperationResult &op = add(QStringLiteral("startup.all"),
                              QStringLiteral("start-up, all 37 windows at once"));
    op.bareLabel = QStringLiteral("37 plain hidden QWidgets of the same sizes, the first shown");
    op.reference = true;
    auto startAndShow = [] {
        require(startUp(), QStringLiteral("start-up failed"));
        tb::main->show();
        QCoreApplication::processEvents();
    };
    shutDown();
    settle();
    m_result.firstStartUpMs = timeOnce(startAndShow);
    checkNoErrorBox();
    m_windowSizes.clear();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (windowNames().contains(w->objectName()))
            m_windowSizes.push_back(w->size());
    require(m_windowSizes.size() == std::size_t(windowNames().size()),
            QStringLiteral("found %1 of %2 windows")
                .arg(m_windowSizes.size())
                .arg(windowNames().size()));
    op.appMs = measure(
        [] {
            shutDown();
            settle();
        },
        startAndShow, {}, StartUpReps);
    op.statements = int(timedStatements);
    op.bareMs = measurePlainWindows(0);

    // The same windows with as many plain child widgets as the real ones hold, to tell the
    // cost of the controls from the cost of the application's work.
    int children = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (windowNames().contains(w->objectName()))
            children += int(w->findChildren<QWidget *>().size());
    OperationResult reference;
    reference.key = QStringLiteral("startup.widgets");
    reference.label = QStringLiteral("start-up against the same widget count");
    reference.bareLabel =
        QStringLiteral("37 plain windows holding %1 plain child widgets").arg(children);
    reference.reference = true;
    reference.appMs = op.appMs;
    reference.bareMs = measurePlainWindows(children / int(m_windowSizes.size()));
    m_result.operations.push_back(reference);
}

// Plain hidden windows of the start-up's sizes, the first shown, each holding
// childrenPerWindow plain child widgets.
double Benchmark::measurePlainWindows(int childrenPerWindow)
{
    std::vector<QWidget *> plain;
    return measure(
        {},
        [&] {
            for (const QSize &size : m_windowSizes) {
                auto *w = new QWidget;
                w->resize(size);
                for (int c = 0; c < childrenPerWindow; ++c)
                    new QWidget(w);
                plain.push_back(w);
            }
            plain.front()->show();
            QCoreApplication::processEvents();
        },
        [&] {
            qDeleteAll(plain);
            plain.clear();
            settle();
        },
        StartUpReps);
}

// ---- screens -----------------------------------------------------------------------------

void Benchmark::openScreen(const QString &menuAction, QWidget *screen)
{
    auto *action = tb::main->findChild<QAction *>(menuAction);
    require(action, QStringLiteral("menu entry %1 not found").arg(menuAction));
    action->trigger();
    QCoreApplication::processEvents();
    require(screen->isVisible(), QStringLiteral("menu entry %1 did not show its screen")
                                     .arg(menuAction));
}

void Benchmark::backToMain(QWidget *screen)
{
    if (auto *work = qobject_cast<WorkWindow *>(screen))
        work->returnToMain();
    settle();
}

void Benchmark::measureScreenOpening()
{
    struct Screen
    {
        const char *key;
        const char *label;
        const char *action;
        QWidget *window;
    };
    const Screen screens[] = {
        {"open.product", "open the product screen (menu)", "N1", Product},
        {"open.customer", "open the customer screen (menu)", "N2", Customer},
        {"open.quote", "open the quotation screen (menu)", "N8", Quote},
    };
    for (const Screen &s : screens) {
        const QString key = QString::fromLatin1(s.key);
        OperationResult &op = add(key, QString::fromUtf8(s.label));
        op.bareLabel = QStringLiteral("a plain QWidget of the same size shown in place of "
                                      "one of the main window's size");
        const std::size_t index = m_result.operations.size() - 1;
        guarded({key}, [&] {
            require(s.window, QStringLiteral("window missing"));
            m_result.operations[index].appMs = measure(
                {}, [&] { openScreen(QString::fromLatin1(s.action), s.window); },
                [&] { backToMain(s.window); });
            m_result.operations[index].statements = int(timedStatements);
            QWidget hub, target;
            hub.resize(tb::main->size());
            target.resize(s.window->size());
            hub.show();
            settle();
            m_result.operations[index].bareMs = measure(
                {},
                [&] {
                    hub.hide();
                    target.show();
                    QCoreApplication::processEvents();
                },
                [&] {
                    target.hide();
                    hub.show();
                    settle();
                });
        });
    }
}

// ---- product screen ----------------------------------------------------------------------

QAbstractButton *Benchmark::productButton(const char *name) const
{
    auto *button = Product->findChild<QAbstractButton *>(QString::fromLatin1(name));
    require(button, QStringLiteral("product screen has no %1").arg(QLatin1String(name)));
    require(button->isEnabled(), QStringLiteral("%1 is disabled").arg(QLatin1String(name)));
    return button;
}

QString Benchmark::currentProductId() const
{
    if (!productTable()->Active() || productTable()->IsEmpty())
        return {};
    return productTable()->FieldByName(QStringLiteral("ProductID"))->AsString();
}

void Benchmark::measureProductNavigation()
{
    const std::vector<QString> keys = {QStringLiteral("product.first"),
                                       QStringLiteral("product.last"),
                                       QStringLiteral("product.next")};
    add(keys[0], QStringLiteral("product screen: first"));
    add(keys[1], QStringLiteral("product screen: last"));
    add(keys[2], QStringLiteral("product screen: next"));
    const std::size_t base = m_result.operations.size() - 3;
    guarded(keys, [&] {
        openScreen(QStringLiteral("N1"), Product);
        // The table is open in browse mode once the query screen has handed a row over.
        productTable()->Open();
        QAbstractButton *first = productButton("sbFirst");
        QAbstractButton *last = productButton("sbLast");
        QAbstractButton *next = productButton("sbNext");
        const QString firstId = m_bare.nextProduct(QStringLiteral("")); // "" sorts first

        m_result.operations[base].appMs =
            measure([&] { press(last); }, [&] { press(first); },
                    [&] { require(currentProductId() == firstId, "sbFirst did not move"); });
        m_result.operations[base].statements = int(timedStatements);
        m_result.operations[base].bareMs = measure([&] { m_bare.firstProduct(); });

        m_result.operations[base + 1].appMs = measure(
            [&] { press(first); }, [&] { press(last); },
            [&] { require(currentProductId() == m_lastGeneratedProduct, "sbLast did not move"); });
        m_result.operations[base + 1].statements = int(timedStatements);
        m_result.operations[base + 1].bareMs = measure([&] { m_bare.lastProduct(); });

        require(productTable()->Locate(QStringLiteral("ProductID"), m_middleProduct),
                QStringLiteral("middle product not found"));
        QString before;
        m_result.operations[base + 2].appMs = measure(
            [&] { before = currentProductId(); }, [&] { press(next); },
            [&] { require(currentProductId() > before, "sbNext did not move"); });
        m_result.operations[base + 2].statements = int(timedStatements);
        QString at = m_middleProduct;
        m_result.operations[base + 2].bareMs = measure([&] { at = m_bare.nextProduct(at); });
        backToMain(Product);
        productTable()->Close();
    });
}

void Benchmark::measureProductInsertAndSave()
{
    const std::vector<QString> keys = {QStringLiteral("product.insert"),
                                       QStringLiteral("product.save")};
    add(keys[0], QStringLiteral("product insert (next identifier)"));
    add(keys[1], QStringLiteral("product save"));
    const std::size_t base = m_result.operations.size() - 2;
    guarded(keys, [&] {
        openScreen(QStringLiteral("N1"), Product);
        QAbstractButton *insert = productButton("sbInsert");
        std::vector<double> insertTimes, saveTimes, bareInsert, bareSave;
        for (int rep = -1; rep < m_reps; ++rep) {
            const QString expected =
                nextNumber(m_bare.lastProductId(), QStringLiteral("PR"), 6);
            const double ti = timeOnce([&] { press(insert); });
            m_result.operations[base].statements = int(timedStatements);
            checkNoErrorBox();
            require(productTable()->State() == DataSetState::Insert
                        && currentProductId() == expected,
                    QStringLiteral("sbInsert gave %1, expected %2")
                        .arg(currentProductId(), expected));
            named<DBEdit>(Product, "EditName")
                ->setText(QStringLiteral("效能測試地板 %1").arg(rep));
            named<DBEdit>(Product, "EditType")->setText(QStringLiteral("地板"));
            named<DBEdit>(Product, "EditUnit")->setText(QStringLiteral("坪"));
            named<DBEdit>(Product, "EditSafeStock")->setText(QStringLiteral("10"));
            named<DBEdit>(Product, "EditPriceA")->setText(QStringLiteral("1200"));
            QAbstractButton *post = productButton("sbPost");
            const double ts = timeOnce([&] { press(post); });
            m_result.operations[base + 1].statements = int(timedStatements);
            checkNoErrorBox();
            require(m_bare.count(QStringLiteral("SELECT count(*) FROM Product WHERE ProductID = ?"),
                                 {expected}) == 1,
                    QStringLiteral("sbPost did not store %1").arg(expected));

            QString bareId;
            const double bi = timeOnce([&] {
                bareId = nextNumber(m_bare.lastProductId(), QStringLiteral("PR"), 6);
            });
            const double bs = timeOnce([&] {
                m_bare.insertProduct({bareId, QStringLiteral("效能測試地板"),
                                      QStringLiteral("地板"), QStringLiteral("坪"), QVariant(),
                                      0, 10, 1200, 0, 0});
            });
            if (rep >= 0) {
                insertTimes.push_back(ti);
                saveTimes.push_back(ts);
                bareInsert.push_back(bi);
                bareSave.push_back(bs);
            }
        }
        m_result.operations[base].appMs = median(insertTimes);
        m_result.operations[base].bareMs = median(bareInsert);
        m_result.operations[base + 1].appMs = median(saveTimes);
        m_result.operations[base + 1].bareMs = median(bareSave);
        backToMain(Product);
    });
}

// ---- query screen ------------------------------------------------------------------------

QueryScreenDriver &Benchmark::productQuery()
{
    if (!m_query)
        m_query = std::make_unique<QueryScreenDriver>(R_product);
    return *m_query;
}

// Each search sends only index searches; a scan or a sort of every match fails the row.
void Benchmark::requireIndexSearches(bool listing)
{
    const QString plan = productQuery().planThatIsNoIndexSearch(listing);
    require(plan.isEmpty(), QStringLiteral("not an index search: %1").arg(plan));
}

// The query screen is opened with "查詢" on the product screen, as the user opens it.
void Benchmark::openProductQuery()
{
    openScreen(QStringLiteral("N1"), Product);
    Q_EMIT productButton("sbRefresh")->clicked(false);
    settle();
    require(R_product->isVisible(), QStringLiteral("查詢 did not show the query screen"));
}

void Benchmark::measureProductQueries()
{
    const std::vector<QString> keys = {QStringLiteral("query.number"),
                                       QStringLiteral("query.name"),
                                       QStringLiteral("query.date"),
                                       QStringLiteral("query.handover")};
    add(keys[0], QStringLiteral("product query by number"));
    add(keys[1], QStringLiteral("product query by name"));
    add(keys[2], QStringLiteral("product query by latest goods-receipt date"));
    add(keys[3], QStringLiteral("double-click hand-over to the product screen"));
    const std::size_t base = m_result.operations.size() - 4;
    guarded(keys, [&] {
        QueryScreenDriver &query = productQuery();
        const QString name = m_bare.productName(m_middleProduct);
        const QString date = m_bare.purchaseDateFrom(m_middleProduct);
        require(!date.isEmpty(), QStringLiteral("no goods-receipt date after %1")
                                     .arg(m_middleProduct));
        openProductQuery();

        // Item 0 "商品編號", 1 "商品名稱", 3 "最近進貨日" (typed as yyyy-mm-dd).
        const struct
        {
            int item;
            QString value, column;
        } searches[] = {{0, m_middleProduct, QStringLiteral("ProductID")},
                        {1, name, QStringLiteral("ProductName")},
                        {3, date, QStringLiteral("LastPurchaseDate")}};
        for (std::size_t k = 0; k < std::size(searches); ++k) {
            const auto &s = searches[k];
            int rows = 0;
            m_result.operations[base + k].appMs = measure(
                {}, [&] {
                    query.search(s.item, s.value);
                    rows = query.readVisibleRows();
                },
                [&] {
                    require(rows >= 1 && (s.item != 0 || rows == 1),
                            QStringLiteral("%1 rows found by %2").arg(rows).arg(s.column));
                    requireIndexSearches(false);
                });
            m_result.operations[base + k].statements = int(timedStatements);
            m_result.operations[base + k].bareMs =
                measure([&] { m_bare.selectProducts(s.column, s.value, rows); });
        }

        m_result.operations[base + 3].appMs = measure(
            [&] {
                productTable()->Close();
                Q_EMIT productButton("sbRefresh")->clicked(false);
                query.search(0, m_middleProduct);
                query.readVisibleRows();
                settle();
            },
            [&] { query.doubleClick(); },
            [&] {
                require(currentProductId() == m_middleProduct && Product->isVisible()
                            && !R_product->isVisible(),
                        QStringLiteral("hand-over stood on %1").arg(currentProductId()));
            });
        m_result.operations[base + 3].statements = int(timedStatements);
        m_result.operations[base + 3].bareMs =
            measure([&] { m_bare.productById(m_middleProduct); });
        productTable()->Close();
        backToMain(Product);
    });
}

void Benchmark::measureProductList()
{
    const std::vector<QString> keys = {QStringLiteral("query.all"), QStringLiteral("query.end")};
    add(keys[0], QStringLiteral("search listing every product (first screen of rows)"));
    add(keys[1], QStringLiteral("jump to the last listed product (Ctrl+End in the grid)"));
    const std::size_t base = m_result.operations.size() - 2;
    guarded(keys, [&] {
        QueryScreenDriver &query = productQuery();
        openProductQuery();
        int rows = 0;
        m_result.operations[base].appMs = measure(
            {}, [&] {
                query.search(0, QString());
                rows = query.readVisibleRows();
            },
            [&] {
                require(rows > 1, QStringLiteral("%1 rows listed").arg(rows));
                requireIndexSearches(true);
            });
        m_result.operations[base].statements = int(timedStatements);
        m_result.operations[base].bareMs =
            measure([&] { m_bare.selectProducts(QString(), QVariant(), rows); });

        m_result.operations[base + 1].appMs = measure(
            [&] {
                query.search(0, QString());
                query.readVisibleRows();
            },
            [&] {
                query.jumpToEnd();
                rows = query.readVisibleRows();
            },
            [&] {
                require(query.currentKey() == m_bare.lastProductId() && rows > 1,
                        QStringLiteral("Ctrl+End stood on %1 with %2 rows shown")
                            .arg(query.currentKey())
                            .arg(rows));
            });
        m_result.operations[base + 1].statements = int(timedStatements);
        m_result.operations[base + 1].bareMs = measure([&] { m_bare.lastProducts(rows); });
        Q_EMIT named<QPushButton>(R_product, "Button2")->clicked(false);
        backToMain(Product);
    });
}

// ---- quotation ---------------------------------------------------------------------------

void Benchmark::measureQuotation()
{
    const std::vector<QString> keys = {QStringLiteral("quote.insert"),
                                       QStringLiteral("quote.line"),
                                       QStringLiteral("quote.save"),
                                       QStringLiteral("quote.delete")};
    add(keys[0], QStringLiteral("quotation insert (next monthly number)"));
    add(keys[1], QStringLiteral("quotation line post with totals"));
    add(keys[2], QStringLiteral("quotation save, 20 lines"));
    add(keys[3], QStringLiteral("quotation delete, 20 lines")).bareLabel =
        QStringLiteral("the deletes alone; the window also shows its question, answered at once");
    const std::size_t base = m_result.operations.size() - 4;
    guarded(keys, [&] {
        openScreen(QStringLiteral("N8"), Quote);
        QAbstractButton *insert = quoteButton("sbInsert");
        const QString prefix =
            QStringLiteral("OD") + Clock::today().toString(QStringLiteral("yyMM"));
        std::vector<double> insertTimes, lineTimes, saveTimes, deleteTimes;
        std::vector<double> bareInsert, bareLine, bareSave, bareDelete;
        struct Line
        {
            QString productId, name, unit;
            int quantity, price;
        };
        std::vector<Line> lines;
        const int middle = m_middleProduct.mid(2).toInt();
        for (int i = 0; i < QuoteLines; ++i) {
            const QString id = QStringLiteral("PR%1").arg(middle + i, 6, 10, QLatin1Char('0'));
            lines.push_back({id, m_bare.productName(id), QStringLiteral("片"), 1 + i, 100 + i});
        }
        const auto field = [](const char *name) {
            return Quote->session()->header()->FieldByName(QLatin1String(name));
        };
        const auto lineField = [](const char *name) {
            return Quote->session()->lines()->FieldByName(QLatin1String(name));
        };
        InstantAnswer yes(QMessageBox::Yes); // the delete question
        for (int rep = -1; rep < m_reps; ++rep) {
            const QString expected = nextNumber(
                m_bare.lastQuoteIdBetween(prefix + QStringLiteral("0000"),
                                          prefix + QStringLiteral("9999")),
                prefix, 4);
            const double ti = timeOnce([&] { press(insert); });
            m_result.operations[base].statements = int(timedStatements);
            checkNoErrorBox();
            const QString id = field("QuoteID")->AsString();
            require(id == expected, QStringLiteral("quotation numbered %1, expected %2")
                                        .arg(id, expected));
            field("CustomerID")->setAsString(QStringLiteral("CU000001"));
            field("EmployeeID")->setAsString(QStringLiteral("EM000001"));
            // Each line typed into a new row of the grid, then posted as moving on does.
            for (const Line &l : lines) {
                Quote->session()->lines()->Append();
                lineField("ProductID")->setAsString(l.productId);
                lineField("ProductName")->setAsString(l.name);
                lineField("Quantity")->setAsInteger(l.quantity);
                lineField("Unit")->setAsString(l.unit);
                lineField("Price")->setAsInteger(l.price);
                const double tl = timeOnce([&] { Quote->session()->lines()->Post(); });
                m_result.operations[base + 1].statements = int(timedStatements);
                if (rep >= 0)
                    lineTimes.push_back(tl);
            }
            checkNoErrorBox();
            QAbstractButton *post = quoteButton("sbPost");
            const double ts = timeOnce([&] { press(post); });
            m_result.operations[base + 2].statements = int(timedStatements);
            checkNoErrorBox();
            require(m_bare.count(QStringLiteral("SELECT count(*) FROM QuoteDetail "
                                                "WHERE QuoteID = ?"),
                                 {id}) == QuoteLines,
                    QStringLiteral("save did not store %1 lines").arg(QuoteLines));
            QAbstractButton *remove = quoteButton("sbDelete");
            const int asked = yes.answered();
            const double td = timeOnce([&] { press(remove); });
            m_result.operations[base + 3].statements = int(timedStatements);
            checkNoErrorBox();
            require(yes.answered() == asked + 1, QStringLiteral("delete did not ask"));
            require(m_bare.count(QStringLiteral("SELECT count(*) FROM QuoteMaster "
                                                "WHERE QuoteID = ?"),
                                 {id}) == 0
                        && m_bare.count(QStringLiteral("SELECT count(*) FROM QuoteDetail "
                                                       "WHERE QuoteID = ?"),
                                        {id}) == 0,
                    QStringLiteral("delete left the quotation"));

            // The same work in bare SQL.
            QString bareId;
            const double bi = timeOnce([&] {
                bareId = nextNumber(m_bare.lastQuoteIdBetween(prefix + QStringLiteral("0000"),
                                                              prefix + QStringLiteral("9999")),
                                    prefix, 4);
            });
            std::vector<QVariantList> rows;
            qint64 subTotal = 0;
            for (const Line &l : lines) {
                const double tl = timeOnce([&] {
                    const int seq = m_bare.lastLineValue(bareId, QStringLiteral("SEQ")).toInt();
                    const int item =
                        m_bare.lastLineValue(bareId, QStringLiteral("QdetailID")).toInt();
                    const int n = std::max({seq, item, int(rows.size())}) + 1;
                    const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
                    rows.push_back({bareId, number, number, l.productId, l.name, l.quantity,
                                    l.unit, l.price, QVariant()});
                    subTotal = 0;
                    for (const QVariantList &r : rows)
                        subTotal += qint64(r.at(5).toInt()) * r.at(7).toInt();
                });
                if (rep >= 0)
                    bareLine.push_back(tl);
            }
            const qint64 tax = qint64(std::nearbyint(double(subTotal) * 0.05));
            const double bs = timeOnce([&] {
                m_bare.saveQuote({bareId, Clock::today().toString(Qt::ISODate),
                                  QStringLiteral("CU000001"), QStringLiteral("EM000001"),
                                  QVariant(), QVariant(), int(subTotal), int(tax),
                                  int(subTotal + tax)},
                                 rows);
            });
            const double bd = timeOnce([&] { m_bare.deleteQuote(bareId); });
            if (rep >= 0) {
                insertTimes.push_back(ti);
                saveTimes.push_back(ts);
                deleteTimes.push_back(td);
                bareInsert.push_back(bi);
                bareSave.push_back(bs);
                bareDelete.push_back(bd);
            }
        }
        m_result.operations[base].appMs = median(insertTimes);
        m_result.operations[base].bareMs = median(bareInsert);
        m_result.operations[base + 1].appMs = median(lineTimes);
        m_result.operations[base + 1].bareMs = median(bareLine);
        m_result.operations[base + 2].appMs = median(saveTimes);
        m_result.operations[base + 2].bareMs = median(bareSave);
        m_result.operations[base + 3].appMs = median(deleteTimes);
        m_result.operations[base + 3].bareMs = median(bareDelete);
        backToMain(Quote);
    });
}

QAbstractButton *Benchmark::quoteButton(const char *name) const
{
    auto *button = Quote->findChild<QAbstractButton *>(QString::fromLatin1(name));
    require(button, QStringLiteral("quotation screen has no %1").arg(QLatin1String(name)));
    require(button->isEnabled(), QStringLiteral("%1 is disabled").arg(QLatin1String(name)));
    return button;
}

// ---- printing and export -----------------------------------------------------------------

namespace {

const QString PrintQuoteId = QStringLiteral("OD99120060"); // a month no generated one uses
constexpr int PrintLines = 60;

} // namespace

// "另存 PDF" of a 60-line quotation: read as stored, laid out on two pages, written with its
// fonts embedded. The quotation is added for the measurement and goes again.
void Benchmark::measureQuotationPdf()
{
    const QString key = QStringLiteral("print.pdf");
    OperationResult &op = add(key, QStringLiteral("quotation PDF, 60 lines (另存 PDF)"));
    op.bareLabel = QStringLiteral("reading the same quotation by bare SQL (the PDF itself has "
                                  "no bare counterpart)");
    const std::size_t index = m_result.operations.size() - 1;
    guarded({key}, [&] {
        m_bare.deleteQuote(PrintQuoteId); // left by a run that stopped half-way
        std::vector<QVariantList> lines;
        qint64 sum = 0;
        const int middle = m_middleProduct.mid(2).toInt();
        for (int i = 1; i <= PrintLines; ++i) {
            const QString id = QStringLiteral("PR%1").arg(middle + i, 6, 10, QLatin1Char('0'));
            const QString number = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            lines.push_back({PrintQuoteId, number, number, id, m_bare.productName(id), i,
                             QStringLiteral("片"), 100 * i, QVariant()});
            sum += qint64(i) * 100 * i;
        }
        const qint64 tax = qint64(std::nearbyint(double(sum) * 0.05));
        m_bare.saveQuote({PrintQuoteId, Clock::today().toString(Qt::ISODate),
                          QStringLiteral("CU000001"), QStringLiteral("EM000001"), QVariant(),
                          QStringLiteral("報價有效期間三十天,運費另計。"), int(sum), int(tax),
                          int(sum + tax)},
                         lines);
        const QTemporaryDir dir;
        const QString path = dir.filePath(PrintQuoteId + QStringLiteral(".pdf"));
        try {
            m_result.operations[index].appMs = measure([&] {
                const std::optional<QuoteDocument> document = QuoteDocument::read(PrintQuoteId);
                require(document && document->lines.size() == PrintLines,
                        QStringLiteral("the 60-line quotation was not read whole"));
                QuotePdf::save(*document, path);
            });
            require(QFileInfo(path).size() > 0, QStringLiteral("no PDF written"));
            m_result.operations[index].bareMs = measure([&] {
                require(m_bare.readQuote(PrintQuoteId) == PrintLines,
                        QStringLiteral("bare read missed lines"));
            });
        } catch (...) {
            m_bare.deleteQuote(PrintQuoteId);
            throw;
        }
        m_bare.deleteQuote(PrintQuoteId);
    });
}

// "匯出..." after a search listing every product: the whole result written as CSV, a page
// at a time, with its progress dialog. Once: it is a long operation, judged by its pace and
// by the memory it takes, which must not grow with the rows.
void Benchmark::measureCsvExport()
{
    const QString key = QStringLiteral("export.csv");
    OperationResult &op = add(key, QStringLiteral("export every product as CSV (匯出...)"));
    op.bareLabel = QStringLiteral("stepping through every row with one prepared statement, "
                                  "each value read as text");
    op.longOperation = true;
    op.scaleChecked = false; // its time grows with the rows, as it must
    const std::size_t index = m_result.operations.size() - 1;
    guarded({key}, [&] {
        QueryScreenDriver &query = productQuery();
        openProductQuery();
        query.search(0, QString());
        query.readVisibleRows();
        settle();
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("products.csv"));
        InstantAnswer ok(QMessageBox::Ok); // "已匯出 ... 筆資料至 ..."
        m_peakBeforeReset = std::max(m_peakBeforeReset, peakResidentMb());
        OperationResult &row = m_result.operations[index];
        row.baselineMb = residentMb();
        require(resetPeakResident(), QStringLiteral("the peak memory cannot be reset here"));
        row.appMs = timeOnce([&] { R_product->exportTo(path); });
        row.peakMb = peakResidentMb();
        checkNoErrorBox();
        require(ok.answered() == 1, QStringLiteral("the export did not say it was done"));
        QFile file(path);
        require(file.open(QIODevice::ReadOnly), QStringLiteral("no CSV written"));
        qint64 records = -1; // the titles' record
        while (!file.atEnd())
            records += file.readLine().endsWith("\r\n") ? 1 : 0;
        const qint64 products = m_bare.count(QStringLiteral("SELECT count(*) FROM Product"));
        require(records == products,
                QStringLiteral("%1 records for %2 products").arg(records).arg(products));
        row.items = records;
        row.bareMs = timeOnce([&] { m_bare.selectProducts(QString(), QVariant(), INT_MAX); });
        Q_EMIT named<QPushButton>(R_product, "Button2")->clicked(false);
        backToMain(Product);
    });
}

// An automatic copy of the whole book, written and checked off the user's thread as the
// application takes it: its time and the memory it takes, then the longest a user's step
// ("下一筆" on the product screen) waits while such a copy runs.
void Benchmark::measureBackup()
{
    constexpr double OneFrameMs = 16.0;
    if (PgUri::isUri(m_path))
        return; // a server book has no automatic copies
    const std::vector<QString> keys = {QStringLiteral("backup.copy"),
                                       QStringLiteral("backup.wait")};
    OperationResult &copy = add(keys[0], QStringLiteral("automatic copy, written and checked"));
    copy.bareLabel = QStringLiteral("copying the file's bytes");
    copy.longOperation = true;
    copy.scaleChecked = false; // it grows with the book, as it must
    OperationResult &wait = add(keys[1], QStringLiteral("product screen: next, during a copy"));
    wait.bareLabel = QStringLiteral("the same steps with no copy running (the longest)");
    wait.scaleChecked = false;
    const std::size_t base = m_result.operations.size() - 2;
    guarded(keys, [&] {
        const QTemporaryDir dir;
        OperationResult &row = m_result.operations[base];
        m_peakBeforeReset = std::max(m_peakBeforeReset, peakResidentMb());
        row.baselineMb = residentMb();
        require(resetPeakResident(), QStringLiteral("the peak memory cannot be reset here"));
        row.appMs = timeOnce([&] { BookBackup::write(m_path, dir.filePath("copy.db")); });
        row.peakMb = peakResidentMb();
        row.items = m_result.products;
        row.bareMs = timeOnce([&] { QFile::copy(m_path, dir.filePath("bytes.db")); });
        QFile::remove(dir.filePath("bytes.db"));

        openScreen(QStringLiteral("N1"), Product);
        productTable()->Open();
        QAbstractButton *first = productButton("sbFirst");
        QAbstractButton *next = productButton("sbNext");
        OperationResult &during = m_result.operations[base + 1];
        // One step after another, as a user holding the key down (the keyboard repeats it
        // some 30 times a second): the longest, and how many took longer than a frame.
        const auto step = [&](double *longest, int *slow) {
            const double ms = timeOnce([&] { press(next); });
            *longest = std::max(*longest, ms);
            *slow += ms > OneFrameMs ? 1 : 0;
            settle();
            QThread::msleep(30);
        };
        press(first);
        std::atomic<bool> done = false;
        std::thread copier([&] {
            yieldToUserThreads(); // as the application's copies do
            try {
                BookBackup::write(m_path, dir.filePath("during.db"));
            } catch (const DatabaseError &) {
            }
            done = true;
        });
        double longest = 0;
        int steps = 0, slow = 0;
        for (; !done; ++steps)
            step(&longest, &slow);
        copier.join();
        require(QFileInfo::exists(dir.filePath("during.db")), QStringLiteral("no copy written"));
        // The same number of steps with no copy running: what the machine itself adds.
        press(first);
        double longestAlone = 0;
        int slowAlone = 0;
        for (int i = 0; i < steps; ++i)
            step(&longestAlone, &slowAlone);
        during.appMs = longest;
        during.bareMs = longestAlone;
        during.note = QStringLiteral("the longest of %1 steps, %2 over a frame; with no copy "
                                     "running the longest of as many, %3 over a frame")
                          .arg(steps).arg(slow).arg(slowAlone);
        backToMain(Product);
        productTable()->Close();
    });
}

// ---- tidy up -----------------------------------------------------------------------------

void Benchmark::cleanUp()
{
    m_query.reset();
    shutDown();
    settle();
    Database::closeAll();
    // The products the insert and save rounds added go again; the database stays as made.
    m_bare.deleteProductsAfter(m_lastGeneratedProduct);
    m_bare.close();
}

} // namespace tb
