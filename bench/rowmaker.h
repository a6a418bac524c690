#pragma once

// The rows of the generated database, one function per table. Every row is a pure function
// of the seed, the sizes and its row number, so lines can copy a product's name, unit and
// price without keeping a million products in memory. Header-only so that the generator's
// test can check every column width against the schema without the benchmark's sources.

#include "bench/identifiers.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace tb::benchdata {

struct GeneratorSizes
{
    // Six-digit product numbers stop at PR999999; the default leaves the product screen's
    // insert room for a thousand more.
    qint64 products = 999000;
    qint64 customers = 100000;
    qint64 suppliers = 100000;
    qint64 employees = 10000;
    qint64 quotations = 200000;
    // Orders, deliveries and returns follow the quotations: one order and one delivery for
    // every tenth quotation, one return for every hundredth.
    qint64 orders() const { return quotations / 10; }
    qint64 deliveries() const { return quotations / 10; }
    qint64 returns() const { return quotations / 100; }
};

// The columns a table's rows fill, in the order of the row's values.
struct TableColumns
{
    QString table;
    QStringList columns;
};

// A document: its header and its lines.
struct DocumentRows
{
    QVariantList header;
    std::vector<QVariantList> lines;
};

class RowMaker
{
public:
    // The documents spread over the 24 months that end with lastDay (no date lies after it).
    static constexpr int Months = 24;
    static constexpr int MaxLines = 20;
    static constexpr double MeanLines = 5.0;

    RowMaker(const GeneratorSizes &sizes, QDate lastDay, quint64 seed = 20060822)
        : m_sizes(sizes), m_firstMonth(QDate(lastDay.year(), lastDay.month(), 1)
                                           .addMonths(1 - Months)),
          m_lastDay(lastDay), m_seed(seed)
    {
        if (sizes.products > 999999 || sizes.customers > 999999 || sizes.suppliers > 999999
            || sizes.employees > 999999)
            throw std::invalid_argument("at most 999999 products, customers, suppliers "
                                        "and employees (six-digit numbers)");
        if (sizes.quotations > 9999LL * Months)
            throw std::invalid_argument("at most 9999 quotations a month");
        if (sizes.products < 1 || sizes.customers < 1 || sizes.employees < 1)
            throw std::invalid_argument("documents need at least one product, customer "
                                        "and employee");
        buildFamilies();
    }

    const GeneratorSizes &sizes() const { return m_sizes; }
    QDate firstMonth() const { return m_firstMonth; }

    // ---- layouts -----------------------------------------------------------------------
    static const std::vector<TableColumns> &layouts()
    {
        static const std::vector<TableColumns> all = {
            {"Unit", {"UnitID", "UnitName", "Memo"}},
            {"ProductType", {"TypeID", "TypeName"}},
            {"Color", {"ColorID", "ColorName"}},
            {"Department", {"DepartmentID", "DepartmentName"}},
            {"Duty", {"DutyID", "DutyName", "Memo"}},
            {"Product", {"ProductID", "ProductName", "TypeName", "UnitName", "ColorName",
                         "Stock", "SafeStock", "PriceA", "PriceB", "PriceC",
                         "LastPurchaseDate", "LastDeliveryDate"}},
            {"Customer", partnerColumns("Customer")},
            {"Supplier", partnerColumns("Supplier")},
            {"Employee", {"EmployeeID", "EmployeeName", "ID", "Birthday", "Sex", "Blood",
                          "Marriage", "JoinMan", "Address", "E-mail", "Tel",
                          "DepartmentName", "BirthPlace", "Antecedent", "Career", "DutyName",
                          "ArriveDate", "LeaveDate"}},
            {"QuoteMaster", {"QuoteID", "QuoteDate", "CustomerID", "EmployeeID",
                             "AvailableDate", "Memo", "SubTotal", "ValueAddTax", "Amount"}},
            {"QuoteDetail", {"QuoteID", "SEQ", "QdetailID", "ProductID", "ProductName",
                             "Quantity", "Unit", "Price", "Amount", "Memo"}},
            {"OrderMaster", {"OrderID", "OrderDate", "CustomerID", "EmployeeID",
                             "DeliveryAddress", "Source", "Memo", "AdvanceDate", "SubTotal",
                             "ValueAddTax", "Amount"}},
            {"OrderDetail", {"OrderID", "OdetailID", "ProductID", "ProductName", "Quantity",
                             "NonPayQuantity", "Unit", "Price", "Amount", "Source", "Memo"}},
            {"DeliveryMaster", {"DeliveryID", "DeliveryDate", "CustomerID", "EmployeeID",
                                "DeliveryAddres", "SubTotal", "ValueAddTax", "Amount"}},
            {"DeliveryDetail", {"DeliveryID", "DdetailID", "ProductID", "ProductName", "Unit",
                                "Quantity", "SalesPrice", "Amount", "Memo"}},
            {"DeliveryReturnMaster", {"DeliveryReturnID", "DeliveryReturnDate", "CustomerID",
                                      "EmployeeID", "ScotFreeDate", "SubTotal", "ValueAddTax",
                                      "Amount"}},
            {"DeliveryReturnDetail", {"DeliveryReturnID", "DRdetailID", "ProductID",
                                      "ProductName", "Quantity", "Unit", "Price", "Amount",
                                      "Source", "Memo"}},
        };
        return all;
    }

    // ---- code tables -------------------------------------------------------------------
    const QStringList &unitNames() const { return m_units; }
    QStringList typeNames() const
    {
        QStringList names;
        for (const Family &f : m_families)
            names << f.type;
        return names;
    }
    static const QStringList &colorNames()
    {
        static const QStringList names = words(
            u"白色 黑色 灰色 米白 象牙白 珍珠白 原木色 胡桃色 柚木色 橡木色 櫻桃木色 楓木色 "
            u"淺灰 深灰 咖啡色 卡其色 金色 銀色 古銅色 霧面黑 紅色 藍色 綠色 黃色 透明");
        return names;
    }
    static const QStringList &departmentNames()
    {
        static const QStringList names = words(
            u"業務部 採購部 倉儲部 會計部 管理部 資訊部 設計部 工程部 客服部 物流部");
        return names;
    }
    static const QStringList &dutyNames()
    {
        static const QStringList names = words(
            u"總經理 副總經理 經理 副理 課長 組長 業務專員 業務助理 採購專員 會計 出納 "
            u"倉管員 設計師 工程師 司機 工讀生");
        return names;
    }

    QVariantList unit(int i) const
    {
        return {recordNumber(u"UN", i + 1, 4), m_units.at(i),
                m_units.at(i) + QStringLiteral("：計價與出貨單位")};
    }
    QVariantList productType(int i) const
    {
        return {recordNumber(u"TY", i + 1, 4), m_families.at(i).type};
    }
    QVariantList color(int i) const
    {
        return {recordNumber(u"CO", i + 1, 4), colorNames().at(i)};
    }
    QVariantList department(int i) const
    {
        return {recordNumber(u"DE", i + 1, 4), departmentNames().at(i)};
    }
    QVariantList duty(int i) const
    {
        return {recordNumber(u"DU", i + 1, 4), dutyNames().at(i),
                dutyNames().at(i) + QStringLiteral("之職掌依公司規定辦理")};
    }

    // ---- master data (i from 0) --------------------------------------------------------
    QVariantList product(qint64 i) const
    {
        const ProductCore p = productCore(i);
        Rng rng(m_seed, 1000, quint64(i));
        rng.next(); // the core's draws come from their own stream
        const int stock = rng.range(0, 2000);
        const QVariant color = rng.chance(90) ? QVariant(pick(rng, colorNames()))
                                              : QVariant(QString());
        const int safe = rng.range(0, 200);
        return {recordNumber(u"PR", i + 1, 6), p.name, p.type, p.unit, color, stock, safe,
                p.price, int(p.price * 0.95), int(p.price * 0.9),
                optionalDate(rng, 80), optionalDate(rng, 85)};
    }

    // Name, type, unit and list price of a product, as the document lines copy them.
    struct ProductCore
    {
        QString name;
        QString type;
        QString unit;
        int price;
    };
    ProductCore productCore(qint64 i) const
    {
        Rng rng(m_seed, 1, quint64(i));
        const Family &f = m_families.at(rng.range(0, int(m_families.size()) - 1));
        QString name = pick(rng, origins()) + pick(rng, finishes()) + pick(rng, f.nouns)
                       + u' ' + pick(rng, f.models) + QStringLiteral(" 型號")
                       + QChar(u'A' + rng.range(0, 25)) + QChar(u'A' + rng.range(0, 25))
                       + QString::number(i + 1).rightJustified(6, u'0');
        const int price = roundPrice(rng.range(f.minPrice, f.maxPrice));
        return {name, f.type, pick(rng, f.units), price};
    }

    QVariantList customer(qint64 i) const { return partner(i, u"CU", 2, customerTrades()); }
    QVariantList supplier(qint64 i) const { return partner(i, u"SU", 3, supplierTrades()); }

    QVariantList employee(qint64 i) const
    {
        Rng rng(m_seed, 4, quint64(i));
        const bool male = rng.chance(55);
        const QString id = makeNationalId(rng, male);
        const QDate birthday = QDate(1960, 1, 1).addDays(rng.range(0, 42 * 365));
        const QDate arrive = QDate(1995, 1, 1).addDays(
            rng.range(0, int(QDate(1995, 1, 1).daysTo(m_lastDay))));
        const bool left = rng.chance(10);
        const QDate leave = arrive.addDays(rng.range(30, 3000));
        QString career;
        for (int n = rng.range(0, 3); n > 0; --n)
            career += QStringLiteral("曾任") + pick(rng, coreWords()) + pick(rng, customerTrades())
                      + pick(rng, dutyNames()) + QString::number(rng.range(1, 9)) + QStringLiteral("年。");
        return {recordNumber(u"EM", i + 1, 6), personName(rng), id, iso(birthday),
                male ? QStringLiteral("男") : QStringLiteral("女"),
                pick(rng, bloodTypes()),
                rng.chance(birthday.year() < 1990 ? 75 : 25) ? QStringLiteral("已婚")
                                                             : QStringLiteral("未婚"),
                personName(rng), address(rng),
                QStringLiteral("e%1@decor-trade.com.tw").arg(i + 1),
                telephone(rng), pick(rng, departmentNames()), pick(rng, birthPlaces()),
                pick(rng, schools()) + u' ' + pick(rng, majors()), career,
                pick(rng, dutyNames()), iso(arrive),
                left && leave <= m_lastDay ? QVariant(iso(leave)) : nullDate()};
    }

    // ---- documents (i from 0) ----------------------------------------------------------
    DocumentRows quotation(qint64 i) const
    {
        Rng rng(m_seed, 5, quint64(i));
        const Slot slot = documentSlot(i, m_sizes.quotations);
        const QString id = recordNumber(QStringLiteral("OD") + yymm(slot.date), slot.sequence, 4);
        DocumentRows doc;
        const int lines = lineCount(rng);
        qint64 subTotal = 0;
        for (int n = 1; n <= lines; ++n) {
            const int product = rng.range(0, int(m_sizes.products - 1));
            const ProductCore p = productCore(product);
            const int quantity = rng.range(1, 100);
            const int price = rng.chance(70) ? p.price : int(p.price * 0.9);
            subTotal += qint64(quantity) * price;
            const QString number = QString::number(n).rightJustified(3, u'0');
            doc.lines.push_back({id, number, number,
                                 recordNumber(u"PR", product + 1, 6), p.name,
                                 quantity, p.unit, price, quantity * price,
                                 rng.chance(5) ? QVariant(pick(rng, lineMemos())) : nullText()});
        }
        doc.header = {id, iso(slot.date),
                      recordNumber(u"CU", rng.range(1, int(m_sizes.customers)), 6),
                      recordNumber(u"EM", rng.range(1, int(m_sizes.employees)), 6),
                      iso(slot.date.addDays(30)),
                      rng.chance(20) ? QVariant(pick(rng, quoteMemos())) : nullText()};
        appendTotals(doc.header, subTotal);
        return doc;
    }

    // Quotation number of quotation i.
    QString quotationId(qint64 i) const
    {
        const Slot slot = documentSlot(i, m_sizes.quotations);
        return recordNumber(QStringLiteral("OD") + yymm(slot.date), slot.sequence, 4);
    }

    // Order i comes from quotation 10i: its customer, salesperson and up to ten lines.
    DocumentRows order(qint64 i) const
    {
        Rng rng(m_seed, 6, quint64(i));
        const DocumentRows quote = quotation(i * 10);
        const QDate date = std::min(m_lastDay, QDate::fromString(quote.header.at(1).toString(),
                                                                 Qt::ISODate)
                                                   .addDays(rng.range(1, 14)));
        const QString id = QStringLiteral("SO") + QString::number(i + 1).rightJustified(8, u'0');
        DocumentRows doc;
        qint64 subTotal = 0;
        for (std::size_t n = 0; n < quote.lines.size() && n < 10; ++n) {
            const QVariantList &q = quote.lines[n];
            const int quantity = q.at(5).toInt();
            const int price = q.at(7).toInt();
            subTotal += qint64(quantity) * price;
            doc.lines.push_back({id, QString::number(n + 1).rightJustified(3, u'0'), q.at(3),
                                 q.at(4), quantity, rng.chance(70) ? 0 : rng.range(0, quantity),
                                 q.at(6), price, quantity * price, quote.header.at(0),
                                 nullText()});
        }
        doc.header = {id, iso(date), quote.header.at(2), quote.header.at(3),
                      address(rng), quote.header.at(0),
                      rng.chance(10) ? QVariant(pick(rng, quoteMemos())) : nullText(),
                      iso(date.addDays(rng.range(3, 30)))};
        appendTotals(doc.header, subTotal);
        return doc;
    }

    // Delivery i delivers order i in full.
    DocumentRows delivery(qint64 i) const
    {
        Rng rng(m_seed, 7, quint64(i));
        const DocumentRows ord = order(i);
        const QString id = QStringLiteral("SD") + QString::number(i + 1).rightJustified(8, u'0');
        DocumentRows doc;
        qint64 subTotal = 0;
        for (std::size_t n = 0; n < ord.lines.size(); ++n) {
            const QVariantList &o = ord.lines[n];
            const int quantity = o.at(4).toInt();
            const int price = o.at(7).toInt();
            subTotal += qint64(quantity) * price;
            doc.lines.push_back({id, QString::number(n + 1).rightJustified(3, u'0'), o.at(2),
                                 o.at(3), o.at(6), quantity, price, quantity * price,
                                 nullText()});
        }
        // Delivered when promised, or today for a promise still ahead.
        const QDate promised = QDate::fromString(ord.header.at(7).toString(), Qt::ISODate);
        doc.header = {id, iso(std::min(m_lastDay, promised)), ord.header.at(2),
                      ord.header.at(3), ord.header.at(4)};
        appendTotals(doc.header, subTotal);
        return doc;
    }

    // Return i sends back part of delivery 10i.
    DocumentRows deliveryReturn(qint64 i) const
    {
        Rng rng(m_seed, 8, quint64(i));
        const DocumentRows del = delivery(i * 10);
        const QString id = QStringLiteral("SR") + QString::number(i + 1).rightJustified(8, u'0');
        const QDate date = std::min(m_lastDay, QDate::fromString(del.header.at(1).toString(),
                                                                 Qt::ISODate)
                                                   .addDays(rng.range(1, 20)));
        DocumentRows doc;
        qint64 subTotal = 0;
        const int lines = std::min<int>(int(del.lines.size()), rng.range(1, 3));
        for (int n = 0; n < lines; ++n) {
            const QVariantList &d = del.lines[std::size_t(n)];
            const int quantity = rng.range(1, d.at(5).toInt());
            const int price = d.at(6).toInt();
            subTotal += qint64(quantity) * price;
            doc.lines.push_back({id, QString::number(n + 1).rightJustified(3, u'0'), d.at(2),
                                 d.at(3), quantity, d.at(4), price, quantity * price,
                                 del.header.at(0), QVariant(pick(rng, returnReasons()))});
        }
        doc.header = {id, iso(date), del.header.at(2), del.header.at(3),
                      iso(QDate(date.year(), date.month(), 1).addMonths(1).addDays(-1))};
        appendTotals(doc.header, subTotal);
        return doc;
    }

    // The business tax of a subtotal: 5 %, halfway cases to the even neighbour.
    static qint64 tax(qint64 subTotal) { return qint64(std::nearbyint(double(subTotal) * 0.05)); }

private:
    struct Family
    {
        QString type;
        QStringList nouns;
        QStringList units;
        QStringList models;
        int minPrice;
        int maxPrice;
    };

    struct Slot
    {
        QDate date;
        int sequence; // running number within the month, from 1
    };

    static QStringList words(const char16_t *text)
    {
        return QString::fromUtf16(text).split(u' ', Qt::SkipEmptyParts);
    }
    static const QString &pick(Rng &rng, const QStringList &list)
    {
        return list.at(rng.range(0, int(list.size()) - 1));
    }
    static QString iso(QDate date) { return date.toString(Qt::ISODate); }
    static QVariant nullDate() { return QVariant(QMetaType::fromType<QString>()); }
    static QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }
    static int roundPrice(int price) { return price < 100 ? price : price / 10 * 10; }

    static QStringList partnerColumns(const QString &kind)
    {
        return {kind + "ID", kind + "AttribName", kind + "Name", "EarNo", "JoinMan",
                "E-mail", "Tel", "CellPhone", "Fax", "CompanyAddress", "DeliveryAddress",
                "LastDeliveryDate"};
    }

    void buildFamilies()
    {
        auto family = [this](const char16_t *type, const char16_t *nouns,
                             const char16_t *units, const char16_t *models, int lo, int hi) {
            m_families.push_back({QString::fromUtf16(type), words(nouns), words(units),
                                  words(models), lo, hi});
            for (const QString &u : m_families.back().units)
                if (!m_units.contains(u))
                    m_units << u;
        };
        family(u"地板", u"實木地板 海島型地板 超耐磨地板 塑膠地磚 竹地板", u"坪 箱 片",
               u"1210x165mm 12mm 15mm 910x127mm", 800, 6000);
        family(u"磁磚", u"拋光石英磚 板岩磚 馬賽克磚 復古磚 木紋磚 花磚", u"片 箱 坪",
               u"60x60cm 30x60cm 80x80cm 20x20cm 10x10cm", 30, 3000);
        family(u"壁紙", u"壁紙 壁布 壁貼 防焰壁紙", u"捲 支", u"53cmx10m 106cmx15m 92cmx50m",
               300, 3000);
        family(u"油漆", u"乳膠漆 水泥漆 防水漆 木器漆 調合漆 珪藻土", u"桶 加侖 公升",
               u"1加侖 5加侖 1公升 18公升", 200, 5000);
        family(u"木材", u"角材 夾板 木心板 集成材 矽酸鈣板", u"支 片 才",
               u"4x8尺 3x6尺 1.2寸x1寸 18mm 9mm", 50, 2000);
        family(u"石材", u"大理石 花崗石 人造石檯面 石英石檯面", u"才 片 尺",
               u"2cm 3cm 60x120cm", 200, 9000);
        family(u"燈具", u"崁燈 吸頂燈 吊燈 壁燈 燈條 軌道燈", u"盞 組 個",
               u"LED10W LED15W E27 3000K 6500K", 300, 8000);
        family(u"窗簾", u"窗簾布 捲簾 百葉窗 羅馬簾 調光簾", u"碼 組 尺",
               u"寬150cm 寬280cm 遮光 半透光", 500, 6000);
        family(u"五金", u"門把 鉸鏈 滑軌 把手 門弓器 門檔", u"個 組 支",
               u"不鏽鋼 鋅合金 35mm 450mm", 30, 2000);
        family(u"衛浴", u"馬桶 面盆 龍頭 淋浴柱 浴櫃 浴缸", u"組 個 座",
               u"單體式 二段式 壁掛式 80cm", 1500, 30000);
        family(u"廚具", u"流理台 抽油煙機 瓦斯爐 水槽 烘碗機", u"組 台",
               u"240cm 300cm 80cm 雙口 三口", 3000, 50000);
        family(u"地毯", u"地毯 方塊地毯 腳踏墊 長毛地毯", u"坪 片 張",
               u"50x50cm 160x230cm 4m寬", 200, 5000);
        family(u"天花板", u"輕鋼架 礦纖板 石膏板 天花板", u"片 支 坪",
               u"60x60cm 9mm 12mm 3x6尺", 50, 1500);
        family(u"隔間材", u"輕隔間 玻璃隔間 隔音棉 岩棉板", u"坪 片 包",
               u"50mm 75mm 100mm", 300, 4000);
        family(u"黏著劑", u"矽利康 填縫劑 黏著劑 瓷磚膠 發泡劑", u"支 包 罐",
               u"300ml 25kg 5kg 透明", 30, 800);
        family(u"玻璃", u"強化玻璃 膠合玻璃 鏡子 噴砂玻璃", u"才 片",
               u"5mm 8mm 10mm 12mm", 60, 2500);
    }

    static const QStringList &origins()
    {
        static const QStringList list = words(
            u"台灣製 日本進口 德國進口 義大利進口 西班牙進口 美國進口 國產 精選 頂級 環保");
        return list;
    }
    static const QStringList &finishes()
    {
        static const QStringList list =
            words(u"霧面 亮面 防滑 抗菌 防潮 耐磨 仿古 經典 特級 無毒");
        return list;
    }
    static const QStringList &surnames()
    {
        static const QStringList list = words(
            u"陳 林 黃 張 李 王 吳 劉 蔡 楊 許 鄭 謝 郭 洪 曾 邱 廖 賴 周 徐 蘇 葉 莊 呂 江 何 "
            u"蕭 羅 高 潘 簡 朱 鍾 彭 游 詹 胡 施 沈 余 趙 盧 梁 顏 柯 孫 魏 翁 戴 范 宋 歐陽 "
            u"司馬");
        return list;
    }
    static const QStringList &givenChars()
    {
        static const QStringList list = words(
            u"志 明 俊 傑 家 豪 建 宏 冠 宇 承 翰 育 誠 柏 彥 宗 憲 信 雅 婷 怡 君 淑 芬 美 "
            u"玲 佩 珊 欣 怡 宜 靜 惠 如 文 華 國 榮 正 德 嘉 偉 秀 麗 玉 蘭 春 金 鳳");
        return list;
    }
    static const QStringList &coreWords()
    {
        static const QStringList list = words(
            u"宏達 永豐 大華 聯合 新光 長興 正隆 信義 東興 嘉新 金鼎 昇陽 富源 興業 順發 立德 "
            u"華新 建成 和泰 寶成 德昌 振興 鼎泰 偉盛 瑞昌 佳和 明峰 合發 泰山 旭日 三陽 "
            u"福星 萬盛 隆昌 勝利 大同 元亨 利豐 晶華 綠野");
        return list;
    }
    static const QStringList &customerTradesList()
    {
        static const QStringList list =
            words(u"室內裝修 建材 設計 營造 工程 木業 實業 企業 系統家具 照明 空間設計 裝潢");
        return list;
    }
    static const QStringList &supplierTradesList()
    {
        static const QStringList list =
            words(u"建材 貿易 實業 工業 磁磚 木業 塗料 五金 石材 玻璃 衛浴 燈飾");
        return list;
    }
    static const QStringList &customerTrades() { return customerTradesList(); }
    static const QStringList &supplierTrades() { return supplierTradesList(); }
    static const QStringList &companyForms()
    {
        static const QStringList list = words(u"有限公司 股份有限公司 企業社 工作室 行");
        return list;
    }
    // City and district, as they go together.
    static const QStringList &cities()
    {
        static const QStringList list = words(
            u"台北市中山區 台北市大安區 台北市信義區 台北市內湖區 台北市士林區 新北市板橋區 "
            u"新北市三重區 新北市新莊區 新北市永和區 桃園市中壢區 桃園市桃園區 新竹市東區 "
            u"新竹縣竹北市 台中市西屯區 台中市北區 台中市大里區 彰化縣員林市 台南市東區 "
            u"台南市永康區 高雄市苓雅區 高雄市鳳山區 高雄市左營區 基隆市仁愛區 宜蘭縣羅東鎮 "
            u"屏東縣屏東市 花蓮縣花蓮市 嘉義市西區");
        return list;
    }
    static const QStringList &roads()
    {
        static const QStringList list = words(
            u"中山路 中正路 民生東路 民權西路 忠孝東路 仁愛路 信義路 和平東路 建國北路 "
            u"復興南路 光復路 中華路 文化路 自由路 成功路 民族路 公園路 大同路");
        return list;
    }
    static const QStringList &sections()
    {
        static const QStringList list = words(u"一段 二段 三段 四段 五段");
        return list;
    }
    static const QStringList &bloodTypes()
    {
        static const QStringList list = words(u"A B AB O");
        return list;
    }
    static const QStringList &birthPlaces()
    {
        static const QStringList list = words(
            u"台北市 台北縣 宜蘭縣 桃園縣 新竹縣 苗栗縣 台中縣 彰化縣 南投縣 雲林縣 嘉義縣 "
            u"台南縣 高雄縣 屏東縣 花蓮縣 台東縣 澎湖縣 金門縣 福建省 廣東省 浙江省");
        return list;
    }
    static const QStringList &schools()
    {
        static const QStringList list = words(
            u"台灣大學 成功大學 台北科技大學 台灣科技大學 逢甲大學 中原大學 淡江大學 "
            u"文化大學 東海大學 高雄應用科大 明志科技大學 南台科技大學 復興商工 大安高工");
        return list;
    }
    static const QStringList &majors()
    {
        static const QStringList list = words(
            u"土木工程系 建築系 室內設計系 企業管理系 會計系 國際貿易系 資訊管理系 "
            u"工業設計系 機械工程系 家具木工科 廣告設計科");
        return list;
    }
    static const QStringList &quoteMemos()
    {
        static const QStringList list = words(
            u"含運費 不含安裝 報價有效期限三十天 施工費另議 需先付訂金三成 含稅價 "
            u"大量採購另有優惠 週六不送貨 請於到貨前電話聯絡");
        return list;
    }
    static const QStringList &lineMemos()
    {
        static const QStringList list = words(u"現貨 需訂貨 特價品 樣品 限量 需裁切");
        return list;
    }
    static const QStringList &returnReasons()
    {
        static const QStringList list = words(u"瑕疵品 規格不符 顏色不符 運送破損 多訂");
        return list;
    }

    QString personName(Rng &rng) const
    {
        return pick(rng, surnames()) + pick(rng, givenChars()) + pick(rng, givenChars());
    }

    QString address(Rng &rng) const
    {
        QString text = pick(rng, cities()) + pick(rng, roads());
        if (rng.chance(40))
            text += pick(rng, sections());
        if (rng.chance(30))
            text += QString::number(rng.range(1, 300)) + u'巷';
        text += QString::number(rng.range(1, 999)) + u'號';
        if (rng.chance(60))
            text += QString::number(rng.range(1, 25)) + u'樓';
        return text;
    }

    static QString telephone(Rng &rng)
    {
        static const char *const areas[] = {"02", "03", "04", "05", "06", "07", "08", "037",
                                            "049"};
        const QString area = QString::fromLatin1(rng.pick(areas));
        const int local = area.size() == 2 ? 8 : 7;
        const QString digits = QString::number(rng.range(2000000, 9999999)) +
                               (local == 8 ? QString::number(rng.range(0, 9)) : QString());
        return u'(' + area + u')' + digits.left(local - 4) + u'-' + digits.right(4);
    }

    static QString cellPhone(Rng &rng)
    {
        return QStringLiteral("09%1-%2-%3")
            .arg(rng.range(10, 99))
            .arg(rng.range(0, 999), 3, 10, QLatin1Char('0'))
            .arg(rng.range(0, 999), 3, 10, QLatin1Char('0'));
    }

    QVariantList partner(qint64 i, const char16_t *prefix, int stream,
                         const QStringList &trades) const
    {
        Rng rng(m_seed, quint64(stream), quint64(i));
        const QString core = pick(rng, coreWords());
        const QString trade = pick(rng, trades);
        const QString city = pick(rng, cities()).left(2);
        const QString company = address(rng);
        static const char *const domains[] = {"msa.hinet.net", "gmail.com", "yahoo.com.tw",
                                              "ms1.hinet.net", "seed.net.tw"};
        return {recordNumber(prefix, i + 1, 6), core + trade.left(2),
                city + core + trade + pick(rng, companyForms()), makeEarNo(rng),
                personName(rng),
                QStringLiteral("contact%1@%2").arg(i + 1).arg(QLatin1String(rng.pick(domains))),
                telephone(rng), rng.chance(80) ? QVariant(cellPhone(rng)) : nullText(),
                rng.chance(70) ? QVariant(telephone(rng)) : nullText(), company,
                rng.chance(60) ? company : address(rng), optionalDate(rng, 70)};
    }

    // A date within the generated months, or null for the given share of rows.
    QVariant optionalDate(Rng &rng, int percentPresent) const
    {
        if (!rng.chance(percentPresent))
            return nullDate();
        return iso(m_firstMonth.addDays(rng.range(0, int(m_firstMonth.daysTo(m_lastDay)))));
    }

    // Document i of count, spread evenly over the months in number order.
    Slot documentSlot(qint64 i, qint64 count) const
    {
        auto start = [count](int month) { return count * month / Months; };
        int month = int(i * Months / count);
        while (month + 1 < Months && start(month + 1) <= i)
            ++month;
        while (month > 0 && start(month) > i)
            --month;
        const qint64 inMonth = start(month + 1) - start(month);
        const qint64 k = i - start(month);
        const QDate first = m_firstMonth.addMonths(month);
        const int days = month == Months - 1 ? m_lastDay.day() : first.daysInMonth();
        const QDate date = first.addDays(k * days / inMonth);
        return {date, int(k + 1)};
    }

    static QString yymm(QDate date)
    {
        return QString::number(date.year() % 100).rightJustified(2, u'0')
               + QString::number(date.month()).rightJustified(2, u'0');
    }

    // 1 to 20 lines, most quotations short: about MeanLines on average.
    static int lineCount(Rng &rng)
    {
        const double u = std::max(rng.unit(), 1e-12);
        // The whole part of an exponential of mean m averages about m - 0.5.
        const int n = 1 + int(-std::log(u) * (MeanLines - 0.5));
        return std::min(n, MaxLines);
    }

    static void appendTotals(QVariantList &header, qint64 subTotal)
    {
        const qint64 t = tax(subTotal);
        header << int(subTotal) << int(t) << int(subTotal + t);
    }

    GeneratorSizes m_sizes;
    QDate m_firstMonth;
    QDate m_lastDay;
    quint64 m_seed;
    std::vector<Family> m_families;
    QStringList m_units;
};

} // namespace tb::benchdata
