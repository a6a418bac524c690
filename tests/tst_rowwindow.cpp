#include "controls/rowwindow.h"

#include <QTest>

#include <algorithm>

using namespace tb;

namespace {

RowSnapshot row(int value)
{
    RowSnapshot snapshot;
    snapshot.bookmark = value;
    snapshot.values = {value};
    return snapshot;
}

// A sorted set of numbers standing in for a record set; the bookmark is the number.
struct FakeSet
{
    QVector<int> rows;
    int calls = 0;
    int rowsRead = 0;

    QVector<RowSnapshot> read(const Bookmark &anchor, int count, bool forward)
    {
        ++calls;
        QVector<RowSnapshot> result;
        if (forward) {
            auto it = anchor.isNull() ? rows.begin()
                                      : std::upper_bound(rows.begin(), rows.end(), anchor.toInt());
            for (; it != rows.end() && result.size() < count; ++it)
                result.append(row(*it));
        } else {
            auto it = anchor.isNull() ? rows.end()
                                      : std::lower_bound(rows.begin(), rows.end(), anchor.toInt());
            while (it != rows.begin() && result.size() < count) {
                --it;
                result.prepend(row(*it));
            }
        }
        rowsRead += int(result.size());
        return result;
    }
    bool valid(const Bookmark &b) const { return rows.contains(b.toInt()); }
    RowWindow window(int page = 100)
    {
        return RowWindow([this](const Bookmark &a, int c, bool f) { return read(a, c, f); },
                         [this](const Bookmark &b) { return valid(b); }, page);
    }
};

FakeSet numbers(int count, int step = 1)
{
    FakeSet set;
    for (int i = 0; i < count; ++i)
        set.rows.append(i * step);
    return set;
}

QVector<int> contents(const RowWindow &w)
{
    QVector<int> result;
    for (int i = 0; i < w.size(); ++i)
        result.append(w.at(i).bookmark.toInt());
    return result;
}

QVector<int> range(int from, int to) // inclusive
{
    QVector<int> result;
    for (int i = from; i <= to; ++i)
        result.append(i);
    return result;
}

} // namespace

class TestRowWindow : public QObject
{
    Q_OBJECT
private slots:
    void firstPageOfALargeSetReadsOnePage()
    {
        FakeSet set = numbers(1000000);
        RowWindow w = set.window();
        w.loadFirst();
        QCOMPARE(contents(w), range(0, 99));
        QVERIFY(w.atStart());
        QVERIFY(!w.atEnd());
        QVERIFY(set.rowsRead <= 101);

        QCOMPARE(w.fetchNext(), 100);
        QCOMPARE(contents(w), range(0, 199));
        QVERIFY(set.rowsRead <= 202);
    }

    void placedByTheScreenScrolledByThePage()
    {
        // A view that shows twelve rows reads twelve where it is placed, then pages.
        FakeSet set = numbers(1000000);
        RowWindow w = set.window();
        w.setScreenRows(12);
        w.loadFirst();
        QCOMPARE(contents(w), range(0, 11));
        QVERIFY(set.rowsRead <= 13);
        QCOMPARE(w.fetchNext(), 100);
        QCOMPARE(contents(w), range(0, 111));

        set.rowsRead = 0;
        w.loadLast();
        QCOMPARE(contents(w), range(999988, 999999));
        QVERIFY(!w.atStart() && w.atEnd() && set.rowsRead <= 13);
        QCOMPARE(w.fetchPrevious(), 100);

        set.rowsRead = 0;
        w.anchorAt(row(500000));
        QCOMPARE(contents(w), range(499988, 500012));
        QVERIFY(set.rowsRead <= 26);
        QVERIFY(!w.reload());
        QCOMPARE(contents(w), range(499988, 500012));
    }

    void smallSetIsWhole()
    {
        FakeSet set = numbers(5);
        RowWindow w = set.window();
        w.loadFirst();
        QCOMPARE(contents(w), range(0, 4));
        QVERIFY(w.atStart() && w.atEnd());
        QCOMPARE(w.fetchNext(), 0);
        QCOMPARE(w.fetchPrevious(), 0);

        FakeSet empty;
        RowWindow e = empty.window();
        e.loadFirst();
        QVERIFY(e.isEmpty() && e.atStart() && e.atEnd() && e.loaded());
    }

    void lastPageAndGrowingUpwards()
    {
        FakeSet set = numbers(1000000);
        RowWindow w = set.window();
        w.loadLast();
        QCOMPARE(contents(w), range(999900, 999999));
        QVERIFY(w.atEnd());
        QVERIFY(!w.atStart());
        QVERIFY(set.rowsRead <= 101);

        QCOMPARE(w.fetchPrevious(), 100);
        QCOMPARE(contents(w), range(999800, 999999));
        QVERIFY(set.rowsRead <= 202);
    }

    void anchorAroundARow()
    {
        FakeSet set = numbers(1000000);
        RowWindow w = set.window(10);
        w.anchorAt(row(500000));
        QCOMPARE(contents(w), range(499990, 500010));
        QVERIFY(!w.atStart() && !w.atEnd());
        QCOMPARE(w.indexOf(500000), 10);
        QVERIFY(set.rowsRead <= 22);

        // Near the start, the window reaches the first row and knows it.
        w.anchorAt(row(3));
        QCOMPARE(contents(w), range(0, 13));
        QVERIFY(w.atStart());
        QCOMPARE(w.fetchPrevious(), 0);

        // Growing upwards from a re-anchored window until the first row.
        w.anchorAt(row(25));
        QCOMPARE(w.fetchPrevious(), 10);
        QCOMPARE(contents(w).first(), 5);
        QCOMPARE(w.fetchPrevious(), 5);
        QCOMPARE(contents(w).first(), 0);
        QVERIFY(w.atStart());
    }

    void reloadNoticesChangedRows()
    {
        FakeSet set = numbers(50, 10); // 0, 10, ..., 490
        RowWindow w = set.window(10);
        w.anchorAt(row(250));
        const QVector<int> before = contents(w);
        QCOMPARE(before.first(), 150);
        QCOMPARE(before.last(), 350);

        QVERIFY(!w.reload()); // nothing changed
        QCOMPARE(contents(w), before);

        // A row added inside the window.
        set.rows.insert(std::lower_bound(set.rows.begin(), set.rows.end(), 255), 255);
        QVERIFY(w.reload());
        QVERIFY(contents(w).contains(255));
        QCOMPARE(contents(w).first(), 150);

        // A row removed inside the window.
        set.rows.removeOne(200);
        QVERIFY(w.reload());
        QVERIFY(!contents(w).contains(200));
        QCOMPARE(contents(w).first(), 150);
    }

    void reloadSurvivesTheLossOfItsAnchor()
    {
        FakeSet set = numbers(50, 10);
        RowWindow w = set.window(10);
        w.anchorAt(row(250));
        // The window hangs from 140, the row before its first; it goes away.
        set.rows.removeOne(140);
        QVERIFY(!w.reload());
        QCOMPARE(contents(w).first(), 150);
        QVERIFY(w.indexOf(250) >= 0);

        // Every row the window held is gone: it starts again from the top.
        set.rows.erase(std::remove_if(set.rows.begin(), set.rows.end(),
                                      [](int v) { return v >= 100 && v <= 400; }),
                       set.rows.end());
        QVERIFY(w.reload());
        QVERIFY(w.atStart());
        QCOMPARE(contents(w).first(), 0);
    }

    void reloadFindsTheEndAgain()
    {
        FakeSet set = numbers(15);
        RowWindow w = set.window(10);
        w.loadFirst();
        QVERIFY(!w.atEnd());
        set.rows.remove(10, 5);
        w.reload();
        QVERIFY(w.atEnd());
        QCOMPARE(contents(w), range(0, 9));
        set.rows.append(10);
        w.reload();
        QVERIFY(!w.atEnd());
        QCOMPARE(w.fetchNext(), 1);
        QVERIFY(w.atEnd());
    }
};

QTEST_GUILESS_MAIN(TestRowWindow)
#include "tst_rowwindow.moc"
