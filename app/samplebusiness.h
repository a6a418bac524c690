#pragma once

#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>

#include <iterator>
#include <vector>

namespace tb::sample {

// What the sample book's business sells and whom it deals with: a small shop for
// interior-decoration and building materials. Fixed lists, so that a sample book made today
// holds the same names as one made last year.

struct CodeEntry
{
    QString name;
    QString memo; // units and duties carry one; the other code tables have no memo
};

const std::vector<CodeEntry> &units();
const std::vector<CodeEntry> &productTypes();
const QStringList &colours();
const QStringList &departments();
const std::vector<CodeEntry> &duties();

// One product of the range in each of its colours.
struct ProductLine
{
    QString type;
    QString name;
    QString unit;
    int price;          // price A, in whole dollars
    QStringList colours;
};
const std::vector<ProductLine> &productLines();

struct Company
{
    QString name;
    QString shortName;
    QString mailName; // the part of the e-mail address before "@example.com.tw"
};
const std::vector<Company> &customers();
const std::vector<Company> &suppliers();

// The sample's staff: duty and department, in the order of their employee numbers.
struct StaffPost
{
    QString duty;
    QString department;
};
const std::vector<StaffPost> &staff();

// Makes the personal and contact details of the sample from one seeded generator, so that
// the same seed gives the same book.
class DetailMaker
{
public:
    explicit DetailMaker(quint32 seed) : m_random(seed) {}

    int between(int lowest, int highest); // both included
    template<typename List>
    const auto &pick(const List &list)
    {
        return list[between(0, int(std::size(list)) - 1)];
    }

    // A person's name of three characters; female picks from the women's given names.
    QString personName(bool female);
    // "台北市大安區復興南路一段 128 號 5 樓": a street address, and its telephone area.
    QString address(QString *areaCode = nullptr);
    QString telephone(const QString &areaCode);
    QString mobile();
    // A unified business number that passes the partner screens' check, not handed out
    // before.
    QString businessNumber();
    // A national identity number that passes the employee screen's check, of the sex
    // given, not handed out before.
    QString nationalId(bool female);

private:
    QRandomGenerator m_random;
    QSet<QString> m_handedOut;
};

} // namespace tb::sample
