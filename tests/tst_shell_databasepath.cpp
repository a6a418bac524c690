// Start-up against a database path that names no file yet. A mistyped path must not give
// the user an empty book as if every record were gone: only the default file is made
// without asking.
#include "app/mainform.h"
#include "app/startup.h"
#include "data/book/database.h"
#include "data/book/schema.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/modalanswer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include <sys/stat.h>

using namespace tb;
using tb::test::ModalAnswer;

namespace {

const QString Alias = QString::fromLatin1(Database::DefaultAlias);
const QString Question = QStringLiteral("資料庫檔案不存在,要建立新的資料庫嗎?");

QSettings settings()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
}

void configure(const QString &source, const QString &path)
{
    if (source == QLatin1String("environment"))
        qputenv("TRADEBOOK_DATABASE", path.toLocal8Bit());
    else
        settings().setValue(QStringLiteral("database/path"), path);
}

int modeOf(const QString &path)
{
    struct stat status = {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777)
                                                                    : -1;
}

int tableCount()
{
    QSqlQuery q = Database::exec(Database::connection(), QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table'"));
    return q.next() ? q.value(0).toInt() : -1;
}

// Presses Escape in the next message box, as a user dismissing it from the keyboard.
class EscapeKey
{
public:
    EscapeKey()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_timer.stop();
                m_text = box->text();
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        m_timer.start(10);
    }
    QString text() const { return m_text; } // of the box it dismissed

private:
    QTimer m_timer;
    QString m_text;
};

// The whole application, as main() runs it. Should start-up get as far as the event loop,
// that loop is ended at once, so that a start-up that should have stopped reads as exit
// code 0 rather than a hang.
int runWholeApplication()
{
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (main && main->isVisible())
            QCoreApplication::exit(0);
    });
    watch.start(10);
    return runApplication(*qApp);
}

} // namespace

class TestDatabasePath : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void declinedCreatesNothing_data();
    void declinedCreatesNothing();
    void escapeDeclines();
    void acceptedCreatesFullSchema();
    void placeThatCannotHoldAFile_data();
    void placeThatCannotHoldAFile();
    void defaultFileMadeWithoutAsking();
    void emptyFileAskedAboutAsMissing();
    void madeFilesAndFoldersArePrivate();

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabasePath::initTestCase()
{
    // The user's data and settings folders move into a temporary home, before any settings
    // are read, so that the tests neither see nor touch the real ones.
    qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit());
    umask(022); // the usual one, under which the book used to be readable by every account
}

void TestDatabasePath::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qunsetenv("TRADEBOOK_DATABASE");
    settings().remove(QStringLiteral("database/path"));
    Database::setPath(Alias, QString()); // back to the configured path
}

void TestDatabasePath::cleanup()
{
    shutDown();
    Database::closeAll();
    qunsetenv("TRADEBOOK_DATABASE");
    settings().remove(QStringLiteral("database/path"));
}

void TestDatabasePath::declinedCreatesNothing_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("environment") << "environment";
    QTest::newRow("settings") << "settings";
}

void TestDatabasePath::declinedCreatesNothing()
{
    QFETCH(QString, source);
    const QString path = m_dir->filePath(QStringLiteral("tradebok.db"));
    configure(source, path);

    ModalAnswer answer(QMessageBox::No);
    const int code = runWholeApplication();

    QVERIFY(code != 0);
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.text(), Question + QLatin1Char('\n') + QDir::toNativeSeparators(path));
    QCOMPARE(answer.icon(), QMessageBox::Question);
    QCOMPARE(answer.buttons(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(answer.defaultButton(), QMessageBox::No);
    QVERIFY(!main);
    QVERIFY(QDir(m_dir->path()).isEmpty());
    // Nor does the data layer make the file on its own when something else asks for it.
    QVERIFY(!test::errorOf([] { Database::connection(); }).isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestDatabasePath::escapeDeclines()
{
    const QString path = m_dir->filePath(QStringLiteral("tradebok.db"));
    configure(QStringLiteral("environment"), path);

    EscapeKey escape;
    QVERIFY(runWholeApplication() != 0);
    QVERIFY(escape.text().startsWith(Question));
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestDatabasePath::acceptedCreatesFullSchema()
{
    const QString path = m_dir->filePath(QStringLiteral("new.db"));
    configure(QStringLiteral("environment"), path);

    ModalAnswer answer(QMessageBox::Yes);
    QVERIFY(startUp());

    QCOMPARE(answer.seen(), 1);
    QVERIFY(main);
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(modeOf(path), 0600);
    QCOMPARE(Database::path(), path);
    QCOMPARE(tableCount(), int(Schema::tables().size()));
}

void TestDatabasePath::placeThatCannotHoldAFile_data()
{
    QTest::addColumn<QString>("relative"); // to the temporary folder
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("untouched"); // must still not exist afterwards
    QTest::newRow("missing folder") << "typo/tradebok.db" << "資料夾不存在" << "typo";
    QTest::newRow("a folder, not a file") << "." << "是資料夾" << "";
}

void TestDatabasePath::placeThatCannotHoldAFile()
{
    QFETCH(QString, relative);
    QFETCH(QString, cause);
    QFETCH(QString, untouched);
    const QString path = QDir::cleanPath(m_dir->filePath(relative));
    configure(QStringLiteral("environment"), path);

    ModalAnswer answer(QMessageBox::Ok, 2);
    const int code = runWholeApplication();

    QVERIFY(code != 0);
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    QVERIFY2(answer.text().contains(QDir::toNativeSeparators(path)), qPrintable(answer.text()));
    QVERIFY2(answer.text().contains(cause), qPrintable(answer.text()));
    QVERIFY(!main);
    if (!untouched.isEmpty())
        QVERIFY(!QFileInfo::exists(m_dir->filePath(untouched)));
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestDatabasePath::defaultFileMadeWithoutAsking()
{
    ModalAnswer answer(QMessageBox::No);
    QVERIFY(startUp());

    QCOMPARE(answer.seen(), 0);
    const QString expected = m_home.filePath(QStringLiteral("data/tradebook/tradebook.db"));
    QCOMPARE(Database::path(), expected);
    QVERIFY(QFileInfo::exists(expected));
    QCOMPARE(tableCount(), int(Schema::tables().size()));
}

// A file of no bytes is no book (a copy cut short, a placeholder): asked about as a missing
// one, and left as it was on No.
void TestDatabasePath::emptyFileAskedAboutAsMissing()
{
    const QString path = m_dir->filePath(QStringLiteral("empty.db"));
    QFile(path).open(QIODevice::WriteOnly);
    configure(QStringLiteral("environment"), path);

    {
        ModalAnswer answer(QMessageBox::No);
        QVERIFY(runWholeApplication() != 0);
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(),
                 QStringLiteral("資料庫檔案是空的 (0 位元組),要在這個檔案建立新的資料庫嗎?\n")
                     + QDir::toNativeSeparators(path));
        QCOMPARE(answer.defaultButton(), QMessageBox::No);
        QVERIFY(!main);
        QCOMPARE(QFileInfo(path).size(), 0);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"empty.db"});
        // Nor does the data layer fill it when something else asks for it.
        QVERIFY(!test::errorOf([] { Database::connection(); }).isEmpty());
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    ModalAnswer answer(QMessageBox::Yes);
    QVERIFY(startUp());
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(tableCount(), int(Schema::tables().size()));
}

void TestDatabasePath::madeFilesAndFoldersArePrivate()
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("home/data")).toLocal8Bit());

    ModalAnswer answer(QMessageBox::No);
    const bool started = startUp();
    Database::exec(Database::connection(),
                   QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0001', '箱')"));
    const QString book = m_dir->filePath(QStringLiteral("home/data/tradebook/tradebook.db"));
    QMap<QString, int> modes;
    for (const char *folder : {"home", "home/data", "home/data/tradebook"})
        modes.insert(QLatin1String(folder), modeOf(m_dir->filePath(QLatin1String(folder))));
    for (const char *suffix : {"", "-wal", "-shm"})
        modes.insert(QStringLiteral("tradebook.db") + QLatin1String(suffix),
                     modeOf(book + QLatin1String(suffix)));
    shutDown();
    Database::closeAll();
    qputenv("XDG_DATA_HOME", dataHome);

    QVERIFY(started);
    QCOMPARE(answer.seen(), 0);
    const QMap<QString, int> expected = {
        {"home", 0700}, {"home/data", 0700}, {"home/data/tradebook", 0700},
        {"tradebook.db", 0600}, {"tradebook.db-wal", 0600}, {"tradebook.db-shm", 0600}};
    QCOMPARE(modes, expected);
}

QTEST_MAIN(TestDatabasePath)
#include "tst_shell_databasepath.moc"
