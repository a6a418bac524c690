#include "data/book/big5.h"
#include "data/book/database.h"
#include "data/book/transaction.h"
#include "data/book/errormessages.h"
#include "data/book/errors.h"
#include "data/book/schema.h"
#include "data/book/shortdate.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/testdatabase.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace tb;

class TestFoundation : public QObject
{
    Q_OBJECT
private slots:
    void big5Widths_data();
    void big5Widths();
    void big5TruncatesWithoutSplitting();
    void shortDateRoundTrip();
    void messagesFormatInOrder();
    void newFileGetsEverySeventeenTables();
    void namedIndexesExistPerTable();
    void storedTypesMapBack();
    void connectionStringNamesTheAliasFile();
    void transactionRollsBackOnException();
    void nestedTransactionsJoinTheOuter();
    void duplicateKeyIsKeyViolation();
    void fileOfAnotherProgramIsRefusedUntouched();
    void engineTroublesNameTheFile_data();
    void engineTroublesNameTheFile();
    void serverCodesAreNotFileCodes_data();
    void serverCodesAreNotFileCodes();
    void missingKeyNamesTheField_data();
    void missingKeyNamesTheField();
};

void TestFoundation::big5Widths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("encodable");
    QTest::addColumn<bool>("storable");
    QTest::newRow("ascii") << "PR000001" << 8 << true << true;
    QTest::newRow("chinese") << QString::fromUtf8("商品名稱") << 8 << true << true;
    QTest::newRow("mixed") << QString::fromUtf8("A型男") << 5 << true << true;
    QTest::newRow("thirty chars fill text(60)") << QString::fromUtf8("木").repeated(30) << 60
                                                << true << true;
    // Ideographs of names that Big5 lacks: two bytes each, as user-defined characters.
    QTest::newRow("name ideographs outside big5") << QString::fromUtf8("陳喆堃犇峯") << 10
                                                  << false << true;
    QTest::newRow("extension b ideograph") << QString::fromUtf8("𠀋") << 2 << false << true;
    QTest::newRow("simplified-only char") << QString::fromUtf8("钢") << 2 << false << true;
    QTest::newRow("emoji") << QString::fromUtf8("😀") << 1 << false << false;
    QTest::newRow("control character") << QStringLiteral("a\tb") << 3 << true << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) << 1 << false << false;
    QTest::newRow("empty") << QString() << 0 << true << true;
}

void TestFoundation::big5Widths()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(bool, encodable);
    QFETCH(bool, storable);
    QCOMPARE(big5::width(text), width);
    QCOMPARE(big5::isEncodable(text), encodable);
    QCOMPARE(big5::isStorable(text), storable);
}

void TestFoundation::big5TruncatesWithoutSplitting()
{
    QCOMPARE(big5::truncated(QString::fromUtf8("男女"), 3), QString::fromUtf8("男"));
    QCOMPARE(big5::truncated(QString::fromUtf8("未婚x"), 4), QString::fromUtf8("未婚"));
    QCOMPARE(big5::truncated(QStringLiteral("abc"), 10), QStringLiteral("abc"));
}

void TestFoundation::shortDateRoundTrip()
{
    ShortDate::setPattern(QStringLiteral("yyyy/mm/dd"));
    QCOMPARE(ShortDate::pattern(), QStringLiteral("yyyy/MM/dd"));
    QCOMPARE(ShortDate::format(QDate(2024, 5, 17)), QStringLiteral("2024/05/17"));
    QCOMPARE(ShortDate::parse(QStringLiteral("2024/05/17")), QDate(2024, 5, 17));
    QVERIFY(!ShortDate::parse(QStringLiteral("2024/13/01")).isValid());
    QCOMPARE(ShortDate::toStorage(QDate(2024, 1, 2)), QStringLiteral("2024-01-02"));
    QCOMPARE(ShortDate::fromStorage(QStringLiteral("2024-01-02")), QDate(2024, 1, 2));
    QVERIFY(!ShortDate::fromStorage(QVariant()).isValid());
    ShortDate::resetToSystem();
}

void TestFoundation::messagesFormatInOrder()
{
    QCOMPARE(formatMessage(QStringLiteral("Type mismatch for field '%s', expecting: %s actual: %s"),
                           {"Stock", "Integer", "String"}),
             QStringLiteral("Type mismatch for field 'Stock', expecting: Integer actual: String"));
}

void TestFoundation::newFileGetsEverySeventeenTables()
{
    test::TestDatabase db;
    QCOMPARE(int(Schema::tables().size()), 17);
    for (const TableDef &table : Schema::tables()) {
        const auto stored = Schema::storedColumns(Database::connection(), table.name);
        QCOMPARE(int(stored.size()), int(table.columns.size()));
        for (size_t i = 0; i < stored.size(); ++i)
            QCOMPARE(stored[i].name, Schema::sqlName(Database::connection(),
                                                     table.columns[i].name));
    }
    QVERIFY(Schema::table(QStringLiteral("customer")));
    QVERIFY(Schema::table(QStringLiteral("Customer"))->column(QStringLiteral("E-mail")));
}

void TestFoundation::namedIndexesExistPerTable()
{
    test::TestDatabase db;
    // Two tables each have an index named DeliveryID; both must exist.
    QStringList names;
    for (const char *name : {"DeliveryDetail_DeliveryID", "QuoteDetail_QuoteID",
                             "DeliveryReturnDetail_DeliveryReturnID"})
        names << Schema::sqlName(Database::connection(), QLatin1String(name));
    const QString catalog = test::TestDatabase::onServer()
        ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname IN (?, ?, ?)")
        : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' AND name IN "
                         "(?, ?, ?)");
    QCOMPARE(db.scalar(catalog, {names[0], names[1], names[2]}).toInt(), 3);
}

void TestFoundation::storedTypesMapBack()
{
    test::TestDatabase db;
    for (const TableDef &table : Schema::tables()) {
        const auto stored = Schema::storedColumns(Database::connection(), table.name);
        for (size_t i = 0; i < stored.size(); ++i) {
            FieldType type;
            QVERIFY2(Schema::fieldTypeOf(stored[i].declaredType, &type),
                     qPrintable(stored[i].declaredType));
            QCOMPARE(type, table.columns[i].type);
        }
    }
}

void TestFoundation::connectionStringNamesTheAliasFile()
{
    test::TestDatabase db;
    const QString cs = Database::connectionString();
    QVERIFY(cs.startsWith("Provider=Microsoft.Jet.OLEDB.4.0;Data Source="));
    QVERIFY(cs.endsWith(";Persist Security Info=False"));
    QCOMPARE(Database::pathFromConnectionString(cs), db.path());
    db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES (?, ?)", {"UN0001", "箱"});
    QSqlQuery q = Database::exec(Database::connectionFor(cs), "SELECT UnitName FROM Unit");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString::fromUtf8("箱"));
}

void TestFoundation::transactionRollsBackOnException()
{
    test::TestDatabase db;
    try {
        Transaction t(Database::connection());
        db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0001', 'a')");
        throw DatabaseError("boom");
    } catch (const DatabaseError &) {
    }
    QCOMPARE(db.count("Unit"), 0);
}

void TestFoundation::nestedTransactionsJoinTheOuter()
{
    test::TestDatabase db;
    try {
        Transaction outer(Database::connection());
        {
            Transaction inner(Database::connection());
            db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0001', 'a')");
            inner.commit();
        }
        QCOMPARE(db.count("Unit"), 1); // not yet committed, but visible to the connection
        throw SilentAbort();
    } catch (const SilentAbort &) {
    }
    QCOMPARE(db.count("Unit"), 0);
    {
        Transaction t(Database::connection());
        db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0002', 'b')");
        t.commit();
    }
    QCOMPARE(db.count("Unit"), 1);
}

void TestFoundation::duplicateKeyIsKeyViolation()
{
    test::TestDatabase db;
    db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0001', 'a')");
    try {
        db.exec("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0001', 'b')");
        QFAIL("duplicate accepted");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.message(), QStringLiteral("Key violation."));
    }
}

void TestFoundation::fileOfAnotherProgramIsRefusedUntouched()
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath(QStringLiteral("other.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "foreign");
        db.setDatabaseName(foreign);
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Notes (id INTEGER, text TEXT)"));
        QSqlQuery(db).exec(QStringLiteral("INSERT INTO Notes VALUES (1, 'keep me')"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    const QString notDatabase = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile text(notDatabase);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("not a database at all\n").repeated(100));
    }
    const QList<std::pair<QString, QString>> files{
        {foreign, QStringLiteral("資料庫檔案 %1 缺少本系統需要的資料表或欄位,"
                                 "它可能是其他程式的檔案或不完整的資料庫。"
                                 "請確認資料庫檔案的路徑,或從備份還原。\n"
                                 "Table 'Product' does not exist").arg(foreign)},
        {notDatabase, QStringLiteral("檔案 %1 不是本系統的資料庫,請確認資料庫檔案的路徑。\n"
                                     "file is not a database").arg(notDatabase)}};
    for (const auto &[file, message] : files) {
        QFile before(file);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        Database::setPath(QString::fromLatin1(Database::DefaultAlias), file);
        QCOMPARE(test::errorOf([] { Database::connection(); }), message);
        // Asking again refuses again: the connection was not kept half-open.
        QCOMPARE(test::errorOf([] { Database::connection(); }), message);
        Database::closeAll();
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytes);
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
    }
}

void TestFoundation::missingKeyNamesTheField_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("SQLite") << "1299" << "NOT NULL constraint failed: Product.ProductID"
                            << "ProductID";
    QTest::newRow("PostgreSQL") << "23502"
                                << "null value in column \"E-mail\" of relation \"customer\""
                                   " violates not-null constraint"
                                << "E-mail";
}

void TestFoundation::missingKeyNamesTheField()
{
    QFETCH(QString, code);
    QFETCH(QString, text);
    QFETCH(QString, field);
    const QSqlError error(QStringLiteral("Unable to fetch row"), text,
                          QSqlError::StatementError, code);
    QCOMPARE(Database::errorText(error),
             QStringLiteral("Field '%1' must have a value").arg(field));
}

void TestFoundation::engineTroublesNameTheFile_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("locked") << "5" << "database is locked"
                            << "資料庫檔案 /b/t.db 正由另一個程式寫入,請稍候再試一次。";
    QTest::newRow("full") << "13" << "database or disk is full"
                          << "磁碟空間已滿,無法寫入資料庫檔案 /b/t.db,請清出磁碟空間後再試一次。";
    QTest::newRow("read-only") << "8" << "attempt to write a readonly database"
                               << "資料庫檔案 /b/t.db 目前無法寫入,請確認檔案與所在資料夾可以寫入"
                                  "後再試一次。";
    QTest::newRow("disk error (extended)") << "266" << "disk I/O error"
                                           << "讀寫資料庫檔案 /b/t.db 時發生磁碟錯誤,請檢查磁碟後再"
                                              "試一次。";
    QTest::newRow("damaged") << "11" << "database disk image is malformed"
                             << "資料庫檔案 /b/t.db 已損壞,請從備份還原。";
    QTest::newRow("cannot open") << "14" << "unable to open database file"
                                 << "無法開啟資料庫檔案 /b/t.db,請確認檔案存在且可以讀寫。";
    QTest::newRow("server disk full") << "53100" << "could not extend file"
                                      << "磁碟空間已滿,無法寫入資料庫檔案 /b/t.db,請清出磁碟空間"
                                         "後再試一次。";
    QTest::newRow("other engine text") << "1" << "no such column: Nothing" << QString();
}

void TestFoundation::engineTroublesNameTheFile()
{
    QFETCH(QString, code);
    QFETCH(QString, engine);
    QFETCH(QString, sentence);
    const QSqlError error(QStringLiteral("Unable to execute"), engine, QSqlError::StatementError,
                          code);
    const QString expected = sentence.isEmpty() ? engine : sentence + QLatin1Char('\n') + engine;
    QCOMPARE(userMessage(error, QStringLiteral("/b/t.db")), expected);
}

// SQLSTATEs made of digits only are no SQLite codes: their low byte names no trouble of the
// book's, and a trouble without a sentence leaves the server's text alone.
void TestFoundation::serverCodesAreNotFileCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("permission denied") << "42501" << "permission denied for table Product"
                                       << QString();
    QTest::newRow("cardinality") << "21000" << "more than one row returned by a subquery"
                                 << QString();
    QTest::newRow("not in repertoire") << "22021" << "invalid byte sequence for encoding"
                                       << QString();
    QTest::newRow("trim error") << "22027" << "trim error" << QString();
    QTest::newRow("length mismatch") << "22026" << "string data length mismatch" << QString();
    QTest::newRow("lock not available") << "55P03" << "could not obtain lock on row"
                                        << "伺服器 srv 的資料庫 book 的這筆資料正由另一部電腦寫入,"
                                           "請稍候再試一次。";
}

void TestFoundation::serverCodesAreNotFileCodes()
{
    QFETCH(QString, code);
    QFETCH(QString, engine);
    QFETCH(QString, sentence);
    const QString name = QStringLiteral("server messages");
    {
        QSqlDatabase server = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        if (!server.isValid()) {
            server = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QSKIP("no PostgreSQL driver");
        }
        server.setHostName(QStringLiteral("srv"));
        server.setDatabaseName(QStringLiteral("book"));
        const QSqlError error(QStringLiteral("Unable to execute"), engine,
                              QSqlError::StatementError, code);
        const QString expected = sentence.isEmpty() ? engine
                                                    : sentence + QLatin1Char('\n') + engine;
        QCOMPARE(userMessage(error, server), expected);
    }
    QSqlDatabase::removeDatabase(name);
}

QTEST_GUILESS_MAIN(TestFoundation)
#include "tst_data_foundation.moc"
