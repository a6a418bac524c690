#include "app/samplebusiness.h"

#include "maintenance/numberchecks.h"

namespace tb::sample {

namespace {

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList list(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *t : texts)
        out << u(t);
    return out;
}

struct Street
{
    const char *city;
    const char *area; // telephone area code
    const char *district;
    const char *street;
};

constexpr Street Streets[] = {
    {"台北市", "02", "大安區", "復興南路一段"}, {"台北市", "02", "中山區", "民生東路二段"},
    {"台北市", "02", "內湖區", "成功路四段"},   {"台北市", "02", "信義區", "忠孝東路五段"},
    {"新北市", "02", "板橋區", "文化路二段"},   {"新北市", "02", "新莊區", "中正路"},
    {"新北市", "02", "三重區", "重新路三段"},   {"桃園市", "03", "桃園區", "中山路"},
    {"桃園市", "03", "中壢區", "環北路"},       {"台中市", "04", "西屯區", "台灣大道三段"},
    {"台中市", "04", "北屯區", "崇德路二段"},   {"台南市", "06", "東區", "中華東路二段"},
    {"台南市", "06", "永康區", "中正路"},       {"高雄市", "07", "苓雅區", "四維三路"},
    {"高雄市", "07", "左營區", "博愛二路"},
};

constexpr const char *Surnames[] = {"陳", "林", "黃", "張", "李", "王", "吳", "劉",
                                    "蔡", "楊", "許", "鄭", "謝", "郭", "洪", "曾"};
constexpr const char *MensNames[] = {"志明", "家豪", "建宏", "俊傑", "宗翰", "冠宇",
                                     "承恩", "文雄", "國華", "明哲"};
constexpr const char *WomensNames[] = {"淑芬", "美玲", "怡君", "雅婷", "佩珊", "惠如",
                                       "欣怡", "淑惠", "詩涵", "秀英"};

} // namespace

const std::vector<CodeEntry> &units()
{
    static const std::vector<CodeEntry> all{
        {u("片"), u("地磚、壁磚與板材以片計")}, {u("箱"), u("整箱出貨,每箱片數見包裝")},
        {u("坪"), u("地板以坪計,一坪約 3.3 平方公尺")}, {u("支"), u("條料、管料與工具")},
        {u("桶"), u("油漆與膠料")}, {u("捲"), u("壁紙每捲約 5 坪")},
        {u("組"), u("成套出貨的衛浴設備")}, {u("個"), u("單件五金與配件")},
        {u("包"), u("粉料,每包 20 公斤")},
    };
    return all;
}

const std::vector<CodeEntry> &productTypes()
{
    static const std::vector<CodeEntry> all{
        {u("地磚"), {}}, {u("壁磚"), {}}, {u("地板"), {}}, {u("壁紙"), {}},
        {u("油漆"), {}}, {u("天花板"), {}}, {u("衛浴"), {}}, {u("五金"), {}},
    };
    return all;
}

const QStringList &colours()
{
    static const QStringList all = list({"白色", "米白", "象牙白", "米黃", "淺灰", "深灰",
                                         "黑色", "原木色", "胡桃木色", "橡木色", "柚木色",
                                         "霧銀", "透明"});
    return all;
}

const QStringList &departments()
{
    static const QStringList all = list({"管理部", "業務部", "會計部", "採購部", "倉儲部"});
    return all;
}

const std::vector<CodeEntry> &duties()
{
    static const std::vector<CodeEntry> all{
        {u("總經理"), u("綜理公司業務")}, {u("業務經理"), u("帶領業務,核定報價")},
        {u("業務員"), u("拜訪客戶,開立報價單")}, {u("會計"), u("帳款、發票與薪資")},
        {u("採購員"), u("向廠商叫貨,追蹤交期")}, {u("倉管員"), u("進出貨與盤點")},
        {u("司機"), u("送貨到工地")},
    };
    return all;
}

const std::vector<ProductLine> &productLines()
{
    static const std::vector<ProductLine> all{
        {u("地磚"), u("拋光石英磚 60x60"), u("片"), 165, list({"米白", "淺灰", "象牙白"})},
        {u("地磚"), u("霧面石英磚 60x60"), u("片"), 150, list({"米黃", "深灰"})},
        {u("地磚"), u("木紋磚 20x120"), u("片"), 210, list({"原木色", "胡桃木色"})},
        {u("地磚"), u("板岩磚 30x60"), u("片"), 95, list({"深灰", "黑色"})},
        {u("地磚"), u("止滑地磚 30x30"), u("箱"), 780, list({"米黃", "淺灰"})},
        {u("地磚"), u("復古花磚 20x20"), u("箱"), 1450, list({"白色"})},
        {u("地磚"), u("大理石紋磚 80x80"), u("片"), 420, list({"白色", "米白"})},
        {u("壁磚"), u("亮面壁磚 30x60"), u("片"), 75, list({"白色", "米白"})},
        {u("壁磚"), u("地鐵磚 7.5x15"), u("箱"), 960, list({"白色", "黑色"})},
        {u("壁磚"), u("馬賽克磚 30x30"), u("片"), 135, list({"淺灰", "米黃"})},
        {u("壁磚"), u("六角磚 20x23"), u("箱"), 1280, list({"白色"})},
        {u("地板"), u("超耐磨木地板 8mm"), u("坪"), 2600, list({"橡木色", "胡桃木色"})},
        {u("地板"), u("海島型木地板 15mm"), u("坪"), 5200, list({"柚木色", "橡木色"})},
        {u("地板"), u("實木地板 18mm"), u("坪"), 8800, list({"柚木色"})},
        {u("地板"), u("SPC 石塑地板 5mm"), u("坪"), 1900, list({"原木色", "淺灰"})},
        {u("地板"), u("塑膠地板 3mm"), u("坪"), 850, list({"原木色"})},
        {u("地板"), u("地板防潮布"), u("捲"), 650, list({"透明"})},
        {u("壁紙"), u("素色壁紙"), u("捲"), 780, list({"白色", "米白", "淺灰"})},
        {u("壁紙"), u("條紋壁紙"), u("捲"), 920, list({"米黃"})},
        {u("壁紙"), u("仿木紋壁紙"), u("捲"), 1050, list({"原木色"})},
        {u("壁紙"), u("防霉壁紙"), u("捲"), 1180, list({"白色"})},
        {u("壁紙"), u("壁紙膠 5 公斤"), u("桶"), 420, list({"透明"})},
        {u("油漆"), u("乳膠漆 5 加侖"), u("桶"), 3200, list({"白色", "象牙白", "米黃"})},
        {u("油漆"), u("水性水泥漆 1 加侖"), u("桶"), 680, list({"白色", "淺灰"})},
        {u("油漆"), u("防水漆 1 加侖"), u("桶"), 1250, list({"淺灰"})},
        {u("油漆"), u("護木油 1 公升"), u("桶"), 890, list({"柚木色", "透明"})},
        {u("油漆"), u("油漆刷 3 吋"), u("支"), 85, list({"原木色"})},
        {u("油漆"), u("滾筒刷 9 吋"), u("支"), 160, list({"白色"})},
        {u("天花板"), u("矽酸鈣板 6mm"), u("片"), 360, list({"白色"})},
        {u("天花板"), u("石膏板 9mm"), u("片"), 240, list({"白色"})},
        {u("天花板"), u("礦纖板 60x60"), u("箱"), 1350, list({"白色"})},
        {u("天花板"), u("輕鋼架主料 3.6 米"), u("支"), 95, list({"白色", "黑色"})},
        {u("衛浴"), u("單槽面盆"), u("組"), 4200, list({"白色"})},
        {u("衛浴"), u("單把手面盆龍頭"), u("個"), 2650, list({"霧銀"})},
        {u("衛浴"), u("淋浴龍頭組"), u("組"), 6800, list({"霧銀", "黑色"})},
        {u("衛浴"), u("二段沖水馬桶"), u("組"), 9500, list({"白色"})},
        {u("五金"), u("矽利康 300ml"), u("支"), 120, list({"白色", "透明"})},
        {u("五金"), u("磁磚填縫劑"), u("包"), 350, list({"白色", "淺灰"})},
        {u("五金"), u("磁磚黏著劑"), u("包"), 480, list({"淺灰"})},
        {u("五金"), u("不鏽鋼收邊條 2.4 米"), u("支"), 260, list({"霧銀"})},
    };
    return all;
}

const std::vector<Company> &customers()
{
    static const std::vector<Company> all{
        {u("禾豐室內裝修有限公司"), u("禾豐裝修"), u("hefeng")},
        {u("明築設計工程有限公司"), u("明築設計"), u("mingzhu")},
        {u("光合空間設計有限公司"), u("光合空間"), u("guanghe")},
        {u("築樂室內設計工作室"), u("築樂設計"), u("zhule")},
        {u("永康工程行"), u("永康工程"), u("yongkang")},
        {u("欣家裝潢有限公司"), u("欣家裝潢"), u("xinjia")},
        {u("森居木作工坊"), u("森居木作"), u("senju")},
        {u("和平油漆工程行"), u("和平油漆"), u("heping")},
        {u("長春建設股份有限公司"), u("長春建設"), u("changchun")},
        {u("宏泰營造有限公司"), u("宏泰營造"), u("hongtai")},
        {u("青禾室內裝修有限公司"), u("青禾裝修"), u("qinghe")},
        {u("安居修繕工程行"), u("安居修繕"), u("anju")},
        {u("雅舍設計有限公司"), u("雅舍設計"), u("yashe")},
        {u("美好生活家居有限公司"), u("美好家居"), u("meihao")},
        {u("晴川設計工程有限公司"), u("晴川設計"), u("qingchuan")},
        {u("立德營造股份有限公司"), u("立德營造"), u("lide")},
        {u("朝陽室內裝修有限公司"), u("朝陽裝修"), u("chaoyang")},
        {u("福興水電工程行"), u("福興水電"), u("fuxing")},
        {u("一品空間設計有限公司"), u("一品空間"), u("yipin")},
        {u("匠心木作有限公司"), u("匠心木作"), u("jiangxin")},
    };
    return all;
}

const std::vector<Company> &suppliers()
{
    static const std::vector<Company> all{
        {u("台嘉磁磚工業股份有限公司"), u("台嘉磁磚"), u("taijia")},
        {u("森林木業股份有限公司"), u("森林木業"), u("senlin")},
        {u("彩虹塗料股份有限公司"), u("彩虹塗料"), u("caihong")},
        {u("華美壁紙有限公司"), u("華美壁紙"), u("huamei")},
        {u("東昇石材有限公司"), u("東昇石材"), u("dongsheng")},
        {u("恆久建材股份有限公司"), u("恆久建材"), u("hengjiu")},
        {u("勝利五金行"), u("勝利五金"), u("shengli")},
        {u("清泉衛浴設備有限公司"), u("清泉衛浴"), u("qingquan")},
        {u("北辰輕鋼架工業有限公司"), u("北辰鋼架"), u("beichen")},
        {u("南山木業有限公司"), u("南山木業"), u("nanshan")},
    };
    return all;
}

const std::vector<StaffPost> &staff()
{
    static const std::vector<StaffPost> all{
        {u("總經理"), u("管理部")}, {u("業務經理"), u("業務部")}, {u("業務員"), u("業務部")},
        {u("業務員"), u("業務部")}, {u("會計"), u("會計部")},     {u("採購員"), u("採購部")},
        {u("倉管員"), u("倉儲部")}, {u("司機"), u("倉儲部")},
    };
    return all;
}

int DetailMaker::between(int lowest, int highest)
{
    return int(m_random.bounded(lowest, highest + 1));
}

QString DetailMaker::personName(bool female)
{
    return u(pick(Surnames)) + u(female ? pick(WomensNames) : pick(MensNames));
}

QString DetailMaker::address(QString *areaCode)
{
    const Street &street = pick(Streets);
    if (areaCode)
        *areaCode = QString::fromLatin1(street.area);
    QString text = u(street.city) + u(street.district) + u(street.street)
                   + u("%1號").arg(between(2, 320));
    if (between(0, 2) > 0)
        text += u("%1樓").arg(between(2, 12));
    return text;
}

QString DetailMaker::telephone(const QString &areaCode)
{
    // Taipei and Taichung numbers have eight digits, the other areas seven.
    const bool eight = areaCode == QLatin1String("02") || areaCode == QLatin1String("04");
    const QString first = eight ? QString::number(between(2200, 2999))
                                : QString::number(between(220, 399));
    return QStringLiteral("(%1) %2-%3").arg(areaCode, first).arg(between(0, 9999), 4, 10,
                                                                  QLatin1Char('0'));
}

QString DetailMaker::mobile()
{
    return QStringLiteral("09%1-%2-%3")
        .arg(between(10, 89), 2, 10, QLatin1Char('0'))
        .arg(between(0, 999), 3, 10, QLatin1Char('0'))
        .arg(between(0, 999), 3, 10, QLatin1Char('0'));
}

QString DetailMaker::businessNumber()
{
    // The last digit counts once in the weighted sum, so one of any ten passes the check.
    for (;;) {
        const QString stem = QStringLiteral("%1").arg(between(1000000, 9999999));
        for (int last = 0; last <= 9; ++last) {
            const QString number = stem + QString::number(last);
            if (checkBusinessNumber(number) == BusinessNumberVerdict::Passes
                && !m_handedOut.contains(number)) {
                m_handedOut.insert(number);
                return number;
            }
        }
    }
}

QString DetailMaker::nationalId(bool female)
{
    // The place of first registration, then 1 for men and 2 for women; the last digit
    // balances the check sum, so exactly one of ten passes.
    static const QString Letters = QStringLiteral("ABEFHNQ");
    for (;;) {
        const QString stem = Letters.at(between(0, int(Letters.size()) - 1))
                             + QString::number(female ? 2 : 1)
                             + QStringLiteral("%1").arg(between(0, 9999999), 7, 10,
                                                        QLatin1Char('0'));
        for (int last = 0; last <= 9; ++last) {
            const QString id = stem + QString::number(last);
            if (checkNationalId(id) == NationalIdVerdict::Passes && !m_handedOut.contains(id)) {
                m_handedOut.insert(id);
                return id;
            }
        }
    }
}

} // namespace tb::sample
