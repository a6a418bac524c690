#include "sales/quoteprintout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace tb {

const QString QuotePrintout::Title = QStringLiteral("報價單");
const QString QuotePrintout::PageFooter = QStringLiteral("第 %1 頁,共 %2 頁");
const QStringList QuotePrintout::ColumnTitles = {
    QStringLiteral("項次"), QStringLiteral("商品編號"), QStringLiteral("品名"),
    QStringLiteral("數量"), QStringLiteral("單位"),     QStringLiteral("單價"),
    QStringLiteral("金額"), QStringLiteral("備註")};
const QString QuotePrintout::FontFamily = QStringLiteral("Noto Sans CJK TC");

QString QuotePrintout::groupThousands(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -value : value);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits.at(i);
    }
    return value < 0 ? QLatin1Char('-') + grouped : grouped;
}

namespace {

const QString TelephoneLabel = QStringLiteral("電話");
const QString BusinessNumberLabel = QStringLiteral("統一編號");
const QString MemoLabel = QStringLiteral("備註:");
const QString Ellipsis = QStringLiteral("…");
const QStringList TotalLabels = {QStringLiteral("合計金額"), QStringLiteral("營業稅額 (5%)"),
                                 QStringLiteral("總計金額")};

const QColor Shade(0xe6, 0xe6, 0xe6); // behind the table's titles and the total

// Paper leaves the office: its dates read one way whatever the system's locale or the
// screens' date format ("2026/12/08").
QString printedDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

constexpr int ColumnCount = 8;
enum Column { Item, ProductId, Name, Quantity, Unit, Price, Amount, Memo };
// Each column's share of the table, in millimetres of the 180 that A4 portrait leaves.
constexpr std::array<qreal, ColumnCount> ColumnMm = {9, 20, 56, 14, 11, 18, 22, 30};
constexpr std::array<int, ColumnCount> ColumnAlign = {
    Qt::AlignHCenter, Qt::AlignLeft,    Qt::AlignLeft,  Qt::AlignRight,
    Qt::AlignHCenter, Qt::AlignRight,   Qt::AlignRight, Qt::AlignLeft};

// One face in every size: a second (bold) face would be a second font embedded in every
// PDF, with its own map of 65,536 code points to build and its own file to read.
QFont printFont(qreal points)
{
    QFont font(QuotePrintout::FontFamily);
    font.setPointSizeF(points);
    // Paper is not a screen: glyphs keep their designed shapes and widths.
    font.setHintingPreference(QFont::PreferNoHinting);
    // The glyphs of the font's own character map only: shaped, the digits of "OD24050001"
    // become alternates that a PDF's text map cannot name, and a search or copy of the
    // file would lose them. Chinese and Latin text need no shaping.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString labelled(const QString &label, const QString &value)
{
    return value.isEmpty() ? QString() : label + QStringLiteral(": ") + value;
}

// One piece of text at its place on the page.
struct TextItem
{
    QRectF rect;
    QString text;
    QFont font;
    int align;
};

// What one page holds, top to bottom.
struct PagePlan
{
    bool first = false;     // the company and the quotation's header
    bool tableHead = false; // the line table's titles
    int rowFrom = 0, rowTo = 0;
    bool totals = false;
    int memoFrom = 0, memoTo = 0; // entries of the memo block ("備註:" first)
};

// The quotation measured for one device: fonts, columns, the wrapped text of every cell,
// and the blocks' heights, in the device's pixels.
class Sheet
{
public:
    Sheet(const QuoteDocument &doc, QPaintDevice *device);

    QVector<PagePlan> paginate() const;
    void paint(QPainter &painter, const PagePlan &page, int number, int count) const;

private:
    using Row = std::array<QStringList, ColumnCount>;

    qreal mm(qreal millimetres) const { return millimetres * m_dpi / 25.4; }
    qreal lineHeight(const QFont &font) const
    {
        return QFontMetricsF(font, m_device).lineSpacing();
    }
    QStringList wrap(const QString &text, const QFont &font, qreal width) const;
    qreal cellPadding() const { return mm(1.2); }
    qreal rowPadding() const { return mm(0.8); }
    qreal bodyBottom() const;
    qreal headHeight() const;
    qreal totalsRowHeight() const;
    qreal memoGap() const { return mm(4); }

    QVector<TextItem> topItems() const;
    QVector<TextItem> continuationItems() const;
    static qreal bottomOf(const QVector<TextItem> &items);
    Row rowCells(const QuoteDocumentLine &line) const;
    void fitRow(Row &row) const;
    QRectF columnRect(int column, qreal y, qreal height) const;

    void paintItems(QPainter &painter, const QVector<TextItem> &items) const;
    qreal paintHead(QPainter &painter, qreal y) const;
    qreal paintRow(QPainter &painter, int row, qreal y) const;
    qreal paintTotals(QPainter &painter, qreal y) const;
    qreal paintMemo(QPainter &painter, const PagePlan &page, qreal y) const;
    void paintFooter(QPainter &painter, int number, int count) const;

    const QuoteDocument &m_doc;
    QPaintDevice *m_device;
    qreal m_dpi;
    qreal m_width;
    qreal m_height;
    QFont m_companyFont = printFont(15);
    QFont m_titleFont = printFont(20);
    QFont m_textFont = printFont(10);
    QFont m_tableFont = printFont(9);
    QFont m_smallFont = printFont(8);
    qreal m_continuationHeight = 0;
    QVector<qreal> m_columnX; // each column's left edge, then the table's right edge
    QVector<Row> m_rows;
    QVector<qreal> m_rowHeights;
    QStringList m_memo; // "備註:" and the memo's lines; empty without a memo
};

Sheet::Sheet(const QuoteDocument &doc, QPaintDevice *device)
    : m_doc(doc),
      m_device(device),
      m_dpi(device->logicalDpiY()),
      m_width(device->width()),
      m_height(device->height())
{
    qreal total = 0;
    for (qreal share : ColumnMm)
        total += share;
    qreal x = 0;
    for (qreal share : ColumnMm) {
        m_columnX << x;
        x += m_width * share / total;
    }
    m_columnX << m_width;
    m_continuationHeight = bottomOf(continuationItems());

    const qreal lh = lineHeight(m_tableFont);
    for (const QuoteDocumentLine &line : doc.lines) {
        Row row = rowCells(line);
        fitRow(row);
        int lines = 1;
        for (const QStringList &cell : row)
            lines = std::max(lines, int(cell.size()));
        m_rows << row;
        m_rowHeights << lines * lh + 2 * rowPadding();
    }
    // Trailing blank lines of a memo print nothing.
    QString memo = doc.memo;
    while (!memo.isEmpty() && memo.back().isSpace())
        memo.chop(1);
    if (!memo.isEmpty())
        m_memo = QStringList{MemoLabel} + wrap(memo, m_textFont, m_width);
}

QStringList Sheet::wrap(const QString &text, const QFont &font, qreal width) const
{
    // Most cells are one short line: no layout needed to know that.
    static const QString breaks = QStringLiteral("\r\n\t");
    bool plainLine = true;
    for (QChar c : text)
        plainLine = plainLine && !breaks.contains(c);
    if (plainLine && QFontMetricsF(font, m_device).horizontalAdvance(text) <= width)
        return {text};

    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain.replace(QLatin1Char('\t'), QLatin1String("    "));
    QStringList lines;
    for (const QString &paragraph : plain.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

Sheet::Row Sheet::rowCells(const QuoteDocumentLine &line) const
{
    const std::array<QString, ColumnCount> texts = {
        line.item,
        line.productId,
        line.productName,
        QuotePrintout::groupThousands(line.quantity),
        line.unit,
        QuotePrintout::groupThousands(line.price),
        QuotePrintout::groupThousands(line.amount()),
        line.memo};
    Row row;
    for (int c = 0; c < ColumnCount; ++c) {
        const qreal width = m_columnX[c + 1] - m_columnX[c] - 2 * cellPadding();
        row[c] = wrap(texts[c], m_tableFont, width);
    }
    return row;
}

// A line too tall for a page of its own (a remark of a hundred lines) is cut to one page.
void Sheet::fitRow(Row &row) const
{
    const qreal room = bodyBottom() - m_continuationHeight - headHeight()
        - 2 * rowPadding();
    const int most = std::max(1, int(std::floor(room / lineHeight(m_tableFont))));
    for (QStringList &cell : row) {
        if (cell.size() <= most)
            continue;
        cell = cell.mid(0, most);
        cell.last() += Ellipsis;
    }
}

qreal Sheet::bodyBottom() const
{
    return m_height - lineHeight(m_smallFont) - mm(4);
}

qreal Sheet::headHeight() const
{
    return lineHeight(m_tableFont) + 2 * rowPadding();
}

qreal Sheet::totalsRowHeight() const
{
    return lineHeight(m_tableFont) + 2 * rowPadding();
}

qreal Sheet::bottomOf(const QVector<TextItem> &items)
{
    qreal bottom = 0;
    for (const TextItem &item : items)
        bottom = std::max(bottom, item.rect.bottom());
    return bottom;
}

// The company (empty entries left out), the title, then the customer at the left and the
// quotation at the right.
QVector<TextItem> Sheet::topItems() const
{
    QVector<TextItem> items;
    qreal y = 0;
    const auto centred = [&](const QString &text, const QFont &font) {
        const qreal h = lineHeight(font);
        for (const QString &line : wrap(text, font, m_width)) {
            items.append({QRectF(0, y, m_width, h), line, font, Qt::AlignHCenter});
            y += h;
        }
    };
    const CompanyInfo &company = m_doc.company;
    const QStringList companyLines = {company.name, company.address,
                                      labelled(TelephoneLabel, company.telephone),
                                      labelled(BusinessNumberLabel, company.businessNumber)};
    for (int i = 0; i < companyLines.size(); ++i)
        if (!companyLines[i].isEmpty())
            centred(companyLines[i], i == 0 ? m_companyFont : m_textFont);
    if (y > 0)
        y += mm(3);
    centred(QuotePrintout::Title, m_titleFont);
    y += mm(4);

    const qreal h = lineHeight(m_textFont);
    const qreal labelWidth = mm(20);
    const auto pairs = [&](qreal x, qreal width,
                           const QList<std::pair<QString, QString>> &entries) {
        qreal at = y;
        for (const auto &[label, value] : entries) {
            items.append({QRectF(x, at, labelWidth, h), label + QLatin1Char(':'), m_textFont,
                          Qt::AlignLeft});
            for (const QString &line : wrap(value, m_textFont, width - labelWidth)) {
                items.append({QRectF(x + labelWidth, at, width - labelWidth, h), line,
                              m_textFont, Qt::AlignLeft});
                at += h;
            }
        }
        return at;
    };
    const qreal leftWidth = m_width * 0.6;
    const QString date = printedDate(m_doc.quoteDate);
    const QString until = printedDate(m_doc.availableDate);
    const qreal left = pairs(0, leftWidth - mm(4),
                             {{QStringLiteral("客戶編號"), m_doc.customerId},
                              {QStringLiteral("客戶名稱"), m_doc.customerName},
                              {QStringLiteral("聯絡人"), m_doc.contact},
                              {TelephoneLabel, m_doc.telephone},
                              {QStringLiteral("地址"), m_doc.address}});
    const qreal right = pairs(leftWidth, m_width - leftWidth,
                              {{QStringLiteral("報價單號"), m_doc.quoteId},
                               {QStringLiteral("報價日期"), date},
                               {QStringLiteral("有效日期"), until},
                               {QStringLiteral("業務人員"), m_doc.employeeName}});
    y = std::max(left, right) + mm(4);
    items.append({QRectF(0, y, 0, 0), QString(), m_textFont, Qt::AlignLeft}); // the gap
    return items;
}

// The pages after the first say whose they are above the table.
QVector<TextItem> Sheet::continuationItems() const
{
    const qreal h = lineHeight(m_smallFont);
    return {{QRectF(0, 0, m_width, h), QuotePrintout::Title + QLatin1Char(' ') + m_doc.quoteId,
             m_smallFont, Qt::AlignLeft},
            {QRectF(0, 0, m_width, h), m_doc.customerName, m_smallFont, Qt::AlignRight},
            {QRectF(0, h + mm(3), 0, 0), QString(), m_smallFont, Qt::AlignLeft}};
}

QVector<PagePlan> Sheet::paginate() const
{
    const qreal bottom = bodyBottom();
    const qreal continuation = m_continuationHeight;
    QVector<PagePlan> pages;
    PagePlan page;
    page.first = true;
    page.tableHead = true;
    qreal y = bottomOf(topItems()) + headHeight();
    const auto nextPage = [&] {
        pages << page;
        page = PagePlan();
        y = continuation;
    };

    for (int row = 0; row < m_rows.size(); ++row) {
        // The first page has less room than the others: a line too tall for what is left
        // of it starts the table on the next page, where fitRow has made sure it fits.
        const bool pageHoldsRows = page.rowTo > page.rowFrom;
        if ((pageHoldsRows || page.first) && y + m_rowHeights[row] > bottom) {
            page.tableHead = pageHoldsRows; // no titles over an empty table
            nextPage();
            page.tableHead = true;
            y += headHeight();
        }
        if (page.rowTo == page.rowFrom)
            page.rowFrom = page.rowTo = row;
        page.rowTo = row + 1;
        y += m_rowHeights[row];
    }

    // The totals and the memo stay together where they fit on one page; a memo longer than
    // a page runs on over the next ones.
    const qreal totals = 3 * totalsRowHeight();
    const qreal memoLine = lineHeight(m_textFont);
    const qreal memo = m_memo.isEmpty() ? 0 : memoGap() + m_memo.size() * memoLine;
    const bool fitsOnePage = continuation + totals + memo <= bottom;
    const qreal needed = fitsOnePage ? totals + memo
                                     : totals + (m_memo.isEmpty() ? 0 : memoGap() + 2 * memoLine);
    if (y + needed > bottom) {
        // The last line goes over with the totals, so that they never stand alone.
        const int last = page.rowTo - 1;
        const bool carry = page.rowTo - page.rowFrom > 1
            && continuation + headHeight() + m_rowHeights.value(last) + needed <= bottom;
        if (carry)
            page.rowTo = last;
        nextPage();
        if (carry) {
            page.tableHead = true;
            page.rowFrom = last;
            page.rowTo = last + 1;
            y += headHeight() + m_rowHeights[last];
        }
    }
    page.totals = true;
    y += totals;
    if (!m_memo.isEmpty())
        y += memoGap();
    for (int i = 0; i < m_memo.size(); ++i) {
        if (y + memoLine > bottom) {
            nextPage();
            page.memoFrom = page.memoTo = i;
        }
        page.memoTo = i + 1;
        y += memoLine;
    }
    pages << page;
    return pages;
}

QRectF Sheet::columnRect(int column, qreal y, qreal height) const
{
    return QRectF(m_columnX[column], y, m_columnX[column + 1] - m_columnX[column], height);
}

void Sheet::paintItems(QPainter &painter, const QVector<TextItem> &items) const
{
    for (const TextItem &item : items) {
        if (item.text.isEmpty())
            continue;
        painter.setFont(item.font);
        painter.drawText(item.rect, item.align | Qt::AlignVCenter | Qt::TextSingleLine,
                         item.text);
    }
}

qreal Sheet::paintHead(QPainter &painter, qreal y) const
{
    const qreal h = headHeight();
    painter.setFont(m_tableFont);
    for (int c = 0; c < ColumnCount; ++c) {
        const QRectF cell = columnRect(c, y, h);
        painter.fillRect(cell, Shade);
        painter.drawRect(cell);
        painter.drawText(cell, Qt::AlignCenter, QuotePrintout::ColumnTitles.at(c));
    }
    return y + h;
}

qreal Sheet::paintRow(QPainter &painter, int row, qreal y) const
{
    const qreal h = m_rowHeights[row];
    const qreal lh = lineHeight(m_tableFont);
    painter.setFont(m_tableFont);
    for (int c = 0; c < ColumnCount; ++c) {
        const QRectF cell = columnRect(c, y, h);
        painter.drawRect(cell);
        qreal at = y + rowPadding();
        for (const QString &line : m_rows[row][c]) {
            const QRectF text(cell.left() + cellPadding(), at, cell.width() - 2 * cellPadding(),
                              lh);
            painter.drawText(text, ColumnAlign[c] | Qt::AlignVCenter | Qt::TextSingleLine,
                             line);
            at += lh;
        }
    }
    return y + h;
}

// Under the amounts: the label over the quantity to the unit price, the sum under 金額.
qreal Sheet::paintTotals(QPainter &painter, qreal y) const
{
    const qreal h = totalsRowHeight();
    const qint64 values[] = {m_doc.subTotal, m_doc.tax, m_doc.total};
    painter.setFont(m_tableFont);
    for (int i = 0; i < 3; ++i) {
        const QRectF label(m_columnX[Quantity], y, m_columnX[Amount] - m_columnX[Quantity], h);
        const QRectF value = columnRect(Amount, y, h);
        if (i == 2) { // the total stands out as the titles do
            painter.fillRect(label, Shade);
            painter.fillRect(value, Shade);
        }
        painter.drawRect(label);
        painter.drawRect(value);
        const qreal pad = cellPadding();
        painter.drawText(label.adjusted(pad, 0, -pad, 0), Qt::AlignRight | Qt::AlignVCenter,
                         TotalLabels.at(i));
        painter.drawText(value.adjusted(pad, 0, -pad, 0), Qt::AlignRight | Qt::AlignVCenter,
                         QuotePrintout::groupThousands(values[i]));
        y += h;
    }
    return y;
}

qreal Sheet::paintMemo(QPainter &painter, const PagePlan &page, qreal y) const
{
    if (page.memoFrom == page.memoTo)
        return y;
    if (page.memoFrom == 0)
        y += memoGap();
    const qreal lh = lineHeight(m_textFont);
    for (int i = page.memoFrom; i < page.memoTo; ++i) {
        painter.setFont(m_textFont);
        painter.drawText(QRectF(0, y, m_width, lh),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_memo.at(i));
        y += lh;
    }
    return y;
}

void Sheet::paintFooter(QPainter &painter, int number, int count) const
{
    const qreal h = lineHeight(m_smallFont);
    painter.setFont(m_smallFont);
    painter.drawText(QRectF(0, m_height - h, m_width, h), Qt::AlignCenter,
                     QuotePrintout::PageFooter.arg(number).arg(count));
}

void Sheet::paint(QPainter &painter, const PagePlan &page, int number, int count) const
{
    painter.setPen(QPen(Qt::black, mm(0.2)));
    const QVector<TextItem> top = page.first ? topItems() : continuationItems();
    paintItems(painter, top);
    qreal y = bottomOf(top);
    if (page.tableHead)
        y = paintHead(painter, y);
    for (int row = page.rowFrom; row < page.rowTo; ++row)
        y = paintRow(painter, row, y);
    if (page.totals)
        y = paintTotals(painter, y);
    paintMemo(painter, page, y);
    paintFooter(painter, number, count);
}

} // namespace

QuotePrintout::QuotePrintout(QuoteDocument document) : m_doc(std::move(document)) {}

int QuotePrintout::print(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!painter.begin(device))
        throw std::runtime_error("無法開始列印。");
    const Sheet sheet(m_doc, device);
    const QVector<PagePlan> pages = sheet.paginate();
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device->newPage();
        sheet.paint(painter, pages[i], i + 1, int(pages.size()));
    }
    painter.end();
    return int(pages.size());
}

} // namespace tb
