#include "placeholders/placeholders.h"

using namespace Qt::StringLiterals;

namespace tb {

TRequestbuymaster *Requestbuymaster = nullptr;
Tbuymaster *buymaster = nullptr;
Tpurchasemaster *purchasemaster = nullptr;
Tpurchasereturnmaster *purchasereturnmaster = nullptr;
Taccountreceivablemaster *accountreceivablemaster = nullptr;
Taccountpayablemaster *accountpayablemaster = nullptr;
Tpanshuan *panshuan = nullptr;
Ttalkabout *talkabout = nullptr;

namespace {

enum class Which {
    Requestbuymaster, buymaster, purchasemaster, purchasereturnmaster,
    accountreceivablemaster, accountpayablemaster, panshuan, talkabout
};

// Name (also the caption), where the window stands and where its close button is.
const PlaceholderWindow::Setup &setupOf(Which window)
{
    static const PlaceholderWindow::Setup setups[] = {
        {u"Requestbuymaster"_s, {207, 159}, {80, 328}},
        {u"buymaster"_s, {192, 114}, {16, 344}},
        {u"purchasemaster"_s, {192, 114}, {0, 320}},
        {u"purchasereturnmaster"_s, {192, 114}, {48, 328}},
        {u"accountreceivablemaster"_s, {192, 114}, {16, 304}},
        {u"accountpayablemaster"_s, {192, 114}, {88, 272}},
        {u"panshuan"_s, {192, 114}, {0, 344}},
        {u"talkabout"_s, {192, 114}, {8, 320}},
    };
    return setups[int(window)];
}

} // namespace

TRequestbuymaster::TRequestbuymaster() : PlaceholderWindow(setupOf(Which::Requestbuymaster)) {}

Tbuymaster::Tbuymaster() : PlaceholderWindow(setupOf(Which::buymaster)) {}

Tpurchasemaster::Tpurchasemaster() : PlaceholderWindow(setupOf(Which::purchasemaster)) {}

Tpurchasereturnmaster::Tpurchasereturnmaster()
    : PlaceholderWindow(setupOf(Which::purchasereturnmaster))
{
}

Taccountreceivablemaster::Taccountreceivablemaster()
    : PlaceholderWindow(setupOf(Which::accountreceivablemaster))
{
}

Taccountpayablemaster::Taccountpayablemaster()
    : PlaceholderWindow(setupOf(Which::accountpayablemaster))
{
}

Tpanshuan::Tpanshuan() : PlaceholderWindow(setupOf(Which::panshuan)) {}

Ttalkabout::Ttalkabout() : PlaceholderWindow(setupOf(Which::talkabout)) {}

} // namespace tb
