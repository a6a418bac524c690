#include "app/samplebook.h"

#include "data/book/database.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "data/book/transaction.h"
#include "maintenance/nextid.h"
#include "sales/quotenumbers.h"
#include "sales/quotetotals.h"

#include <QDateTime>

#include <algorithm>

namespace tb {

namespace {

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

// A cursor on one table of the book, open for appending.
class OpenTable
{
public:
    OpenTable(const QString &alias, const QString &table)
    {
        m_cursor.setDatabaseName(alias);
        m_cursor.setTableName(table);
        m_cursor.Open();
    }
    TableCursor &cursor() { return m_cursor; }

private:
    TableCursor m_cursor;
};

void put(Field *field, const QVariant &value)
{
    if (value.isNull())
        field->Clear();
    else if (value.typeId() == QMetaType::QDate)
        field->setAsDateTime(QDateTime(value.toDate(), QTime(0, 0)));
    else if (value.typeId() == QMetaType::Int)
        field->setAsInteger(value.toInt());
    else
        field->setAsString(value.toString());
}

// Builders buy at price B; designers and workshops at the list price.
bool paysPriceB(const QString &customerName)
{
    return customerName.contains(u("營造")) || customerName.contains(u("建設"));
}

int roundedTo(int value, int step)
{
    return std::max(step, (value + step / 2) / step * step);
}

} // namespace

SampleBook::SampleBook(QString alias, QDate today, quint32 seed)
    : m_alias(std::move(alias)), m_today(today), m_details(seed)
{
}

void SampleBook::write()
{
    Transaction transaction(Database::connection(m_alias));
    writeCodeTables();
    writeProducts();
    writePartners(QStringLiteral("Customer"), QStringLiteral("CU"), sample::customers());
    writePartners(QStringLiteral("Supplier"), QStringLiteral("SU"), sample::suppliers());
    writeEmployees();
    writeQuotations();
    transaction.commit();
}

void SampleBook::append(TableCursor &cursor, Values values)
{
    cursor.Append();
    for (const auto &[name, value] : values)
        put(cursor.FieldByName(name), value);
    cursor.Post();
}

QString SampleBook::nextId(const QString &last, const QString &prefix, int digits)
{
    // A sample holds far fewer rows than the rule has numbers.
    return *nextIdentifier(last, IdentifierRule{prefix, digits});
}

void SampleBook::writeCodeTables()
{
    std::vector<sample::CodeEntry> colours, departments;
    for (const QString &name : sample::colours())
        colours.push_back({name, {}});
    for (const QString &name : sample::departments())
        departments.push_back({name, {}});
    writeCodeTable(QStringLiteral("Unit"), QStringLiteral("UnitID"), QStringLiteral("UnitName"),
                   QStringLiteral("UN"), sample::units());
    writeCodeTable(QStringLiteral("ProductType"), QStringLiteral("TypeID"),
                   QStringLiteral("TypeName"), QStringLiteral("TY"), sample::productTypes());
    writeCodeTable(QStringLiteral("Color"), QStringLiteral("ColorID"),
                   QStringLiteral("ColorName"), QStringLiteral("CO"), colours);
    writeCodeTable(QStringLiteral("Department"), QStringLiteral("DepartmentID"),
                   QStringLiteral("DepartmentName"), QStringLiteral("DE"), departments);
    writeCodeTable(QStringLiteral("Duty"), QStringLiteral("DutyID"), QStringLiteral("DutyName"),
                   QStringLiteral("DU"), sample::duties());
}

void SampleBook::writeCodeTable(const QString &table, const QString &idField,
                                const QString &nameField, const QString &prefix,
                                const std::vector<sample::CodeEntry> &entries)
{
    OpenTable open(m_alias, table);
    TableCursor &cursor = open.cursor();
    QString id;
    for (const sample::CodeEntry &entry : entries) {
        id = nextId(id, prefix, 4);
        cursor.Append();
        put(cursor.FieldByName(idField), id);
        put(cursor.FieldByName(nameField), entry.name);
        if (!entry.memo.isEmpty())
            put(cursor.FieldByName(QStringLiteral("Memo")), entry.memo);
        cursor.Post();
    }
}

void SampleBook::writeProducts()
{
    OpenTable open(m_alias, QStringLiteral("Product"));
    QString id;
    for (const sample::ProductLine &line : sample::productLines()) {
        for (const QString &colour : line.colours) {
            id = nextId(id, QStringLiteral("PR"), 6);
            const QString name = line.name + QLatin1Char(' ') + colour;
            const int safeStock = roundedTo(m_details.between(10, 120), 10);
            const int priceB = roundedTo(line.price * 92 / 100, 5);
            const int priceC = roundedTo(line.price * 85 / 100, 5);
            // A few are below their safety stock, as in any shop.
            const int stock = m_details.between(0, 9) == 0
                                  ? m_details.between(0, safeStock - 1)
                                  : safeStock + m_details.between(0, 6 * safeStock);
            const QDate purchased = m_today.addDays(-m_details.between(3, 150));
            append(open.cursor(), {{"ProductID", id}, {"ProductName", name},
                                   {"TypeName", line.type}, {"UnitName", line.unit},
                                   {"ColorName", colour}, {"Stock", stock},
                                   {"SafeStock", safeStock}, {"PriceA", line.price},
                                   {"PriceB", priceB}, {"PriceC", priceC},
                                   {"LastPurchaseDate", purchased}});
            m_products.push_back({id, name, line.unit, line.price, priceB});
        }
    }
}

void SampleBook::writePartners(const QString &table, const QString &prefix,
                               const std::vector<sample::Company> &companies)
{
    OpenTable open(m_alias, table);
    QString id;
    for (const sample::Company &company : companies) {
        id = nextId(id, prefix, 6);
        QString area;
        const QString address = m_details.address(&area);
        // Some deliver to a building site of their own, the others to their office.
        const QString delivery = m_details.between(0, 2) == 0 ? m_details.address() : address;
        const QString fax = m_details.between(0, 2) ? m_details.telephone(area) : QString();
        append(open.cursor(),
               {{table + u("ID"), id}, {table + u("AttribName"), company.shortName},
                {table + u("Name"), company.name}, {u("EarNo"), m_details.businessNumber()},
                {u("JoinMan"), m_details.personName(m_details.between(0, 1))},
                {u("E-mail"), company.mailName + u("@example.com.tw")},
                {u("Tel"), m_details.telephone(area)}, {u("CellPhone"), m_details.mobile()},
                {u("Fax"), fax}, {u("CompanyAddress"), address},
                {u("DeliveryAddress"), delivery}});
        if (table == QLatin1String("Customer"))
            m_customerIds << id;
    }
}

void SampleBook::writeEmployees()
{
    static const char *const Schools[] = {
        "國立台北大學 企業管理系", "高職 商業經營科", "私立大學 國際貿易系",
        "專科 土木工程科",         "高職 會計事務科", "大學 室內設計系",
        "高中",                    "碩士 管理學院"};
    static const char *const Birthplaces[] = {"台北市", "新北市", "台中市", "彰化縣",
                                              "嘉義縣", "台南市", "高雄市", "宜蘭縣"};
    static const char *const BloodTypes[] = {"A", "B", "AB", "O"};
    OpenTable open(m_alias, QStringLiteral("Employee"));
    QString id;
    int seniority = 0; // the posts come in order of length of service
    for (const sample::StaffPost &post : sample::staff()) {
        id = nextId(id, QStringLiteral("EM"), 6);
        const bool female = m_details.between(0, 1) == 1;
        const QDate arrived =
            m_today.addDays(-(6200 - 700 * seniority++) + m_details.between(0, 300));
        const QDate born(arrived.year() - m_details.between(22, 40), m_details.between(1, 12),
                         m_details.between(1, 28));
        const QString career = u("%1 年進公司,任%2。").arg(arrived.year()).arg(post.duty);
        append(open.cursor(),
               {{u("EmployeeID"), id}, {u("EmployeeName"), m_details.personName(female)},
                {u("ID"), m_details.nationalId(female)}, {u("Birthday"), born},
                {u("Sex"), female ? u("女") : u("男")},
                {u("Blood"), u(m_details.pick(BloodTypes))},
                {u("Marriage"), m_details.between(0, 2) ? u("已婚") : u("未婚")},
                {u("JoinMan"), m_details.personName(m_details.between(0, 1))},
                {u("Address"), m_details.address()},
                {u("E-mail"), id.toLower() + u("@example.com.tw")},
                {u("Tel"), m_details.mobile()}, {u("DepartmentName"), post.department},
                {u("BirthPlace"), u(m_details.pick(Birthplaces))},
                {u("Antecedent"), u(m_details.pick(Schools))}, {u("Career"), career},
                {u("DutyName"), post.duty}, {u("ArriveDate"), arrived}});
        if (post.department == u("業務部"))
            m_salesIds << id;
    }
}

void SampleBook::writeQuotations()
{
    // Dates over the last four months, oldest first, so that the numbers of a month follow
    // its days as they do when quotations are typed one by one; the last one today.
    std::vector<int> daysBack;
    for (int i = 0; i < Quotations; ++i)
        daysBack.push_back(m_details.between(0, 120));
    std::sort(daysBack.begin(), daysBack.end(), std::greater<>());
    daysBack.back() = 0; // the month of the day the book is made has a quotation: 0001
    for (const int back : daysBack) {
        const QDate date = m_today.addDays(-back);
        const QString prefix = quotenumbers::monthPrefix(date);
        const QString quoteId =
            quotenumbers::nextQuoteId(prefix, m_lastQuoteOfMonth.value(prefix));
        m_lastQuoteOfMonth.insert(prefix, quoteId);
        writeQuotation(date, quoteId);
    }
}

int SampleBook::quantityFor(const QString &unit)
{
    if (unit == u("片"))
        return roundedTo(m_details.between(20, 400), 10);
    if (unit == u("坪"))
        return m_details.between(8, 60);
    if (unit == u("箱") || unit == u("捲") || unit == u("包"))
        return m_details.between(4, 40);
    return m_details.between(1, 12);
}

void SampleBook::writeQuotation(const QDate &date, const QString &quoteId)
{
    static const char *const Memos[] = {"", "", "含運費,不含施工。", "工地自取。",
                                        "分兩批送貨,請先電話聯絡。", "報價含稅,三十日內有效。"};
    const int customer = m_details.between(0, int(m_customerIds.size()) - 1);
    const bool priceB = paysPriceB(sample::customers().at(customer).name);
    const QString employee = m_details.pick(m_salesIds);
    // Different products, drawn without putting back.
    std::vector<ProductRef> chosen = m_products;
    const int count = m_details.between(1, MaxLinesPerQuotation);
    for (int i = 0; i < count; ++i)
        std::swap(chosen[i], chosen[m_details.between(i, int(chosen.size()) - 1)]);
    chosen.resize(count);

    OpenTable lines(m_alias, QStringLiteral("QuoteDetail"));
    double sum = 0;
    int n = 0;
    for (const ProductRef &product : chosen) {
        const QString seq = quotenumbers::lineNumber(++n);
        const int quantity = quantityFor(product.unit);
        const int price = priceB ? product.priceB : product.priceA;
        sum += double(quantity) * price;
        append(lines.cursor(),
               {{u("QuoteID"), quoteId}, {u("SEQ"), seq}, {u("QdetailID"), seq},
                {u("ProductID"), product.id}, {u("ProductName"), product.name},
                {u("Quantity"), quantity}, {u("Unit"), product.unit}, {u("Price"), price},
                {u("Amount"), quantity * price}});
    }
    const QuoteTotals totals = QuoteTotals::fromSum(sum);
    OpenTable header(m_alias, QStringLiteral("QuoteMaster"));
    append(header.cursor(),
           {{u("QuoteID"), quoteId}, {u("QuoteDate"), date},
            {u("CustomerID"), m_customerIds.at(customer)}, {u("EmployeeID"), employee},
            {u("AvailableDate"), date.addDays(30)}, {u("Memo"), u(m_details.pick(Memos))},
            {u("SubTotal"), int(totals.subTotal)}, {u("ValueAddTax"), int(totals.tax)},
            {u("Amount"), int(totals.amount)}});
}

} // namespace tb
