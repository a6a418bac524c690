#include "maintenance/supplier.h"

#include "lookup/queryscreens.h"

namespace tb {

TSupplier *Supplier = nullptr;

namespace {

PartnerSetup supplierSetup()
{
    using P = PartnerScreen;
    PartnerSetup setup;
    setup.name = QStringLiteral("Supplier");
    setup.caption = QStringLiteral("供應商資料");
    setup.tableName = QStringLiteral("Supplier");
    setup.prefix = QStringLiteral("SU");
    setup.idField = QStringLiteral("SupplierID");
    setup.attribField = QStringLiteral("SupplierAttribName");
    setup.nameField = QStringLiteral("SupplierName");
    setup.idCaption = QStringLiteral("廠商編號");
    setup.attribCaption = QStringLiteral("廠商簡稱");
    setup.nameCaption = QStringLiteral("廠商名稱");
    setup.frame = QRect(214, 282, 704, 456);
    // Neither the number nor the business number is required here.
    setup.checks = {
        {3, 0, QStringLiteral("廠商名稱不可為空白!")},
        {5, 0, P::JoinManRequired},
        {6, 7, P::TelOrCellPhone},
        {9, 0, P::CompanyAddressRequired},
        {10, 0, P::DeliveryAddressRequired},
    };
    setup.queryScreen = [] () -> QWidget * { return R_Supplier; };
    return setup;
}

} // namespace

TSupplier::TSupplier()
    : PartnerScreen(supplierSetup())
{
}

} // namespace tb
