#include "maintenance/customer.h"

#include "lookup/queryscreens.h"

namespace tb {

TCustomer *Customer = nullptr;

namespace {

PartnerSetup customerSetup()
{
    using P = PartnerScreen;
    PartnerSetup setup;
    setup.name = QStringLiteral("Customer");
    setup.caption = QStringLiteral("客戶資料");
    setup.tableName = QStringLiteral("Customer");
    setup.prefix = QStringLiteral("CU");
    setup.idField = QStringLiteral("CustomerID");
    setup.attribField = QStringLiteral("CustomerAttribName");
    setup.nameField = QStringLiteral("CustomerName");
    setup.idCaption = QStringLiteral("客戶編號");
    setup.attribCaption = QStringLiteral("客戶簡稱");
    setup.nameCaption = QStringLiteral("客戶名稱");
    setup.frame = QRect(200, 200, 705, 456);
    setup.checks = {
        {1, 0, QStringLiteral("客戶編號不可為空白!")},
        {3, 0, QStringLiteral("客戶名稱不可為空白!")},
        {4, 0, QStringLiteral("統一編號不可為空白!")},
        {5, 0, P::JoinManRequired},
        {9, 0, P::CompanyAddressRequired},
        {10, 0, P::DeliveryAddressRequired},
        {6, 7, P::TelOrCellPhone},
    };
    setup.queryScreen = [] () -> QWidget * { return R_customer; };
    return setup;
}

} // namespace

TCustomer::TCustomer()
    : PartnerScreen(customerSetup())
{
}

} // namespace tb
