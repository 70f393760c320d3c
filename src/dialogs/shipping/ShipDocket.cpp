#include "dialogs/shipping/ShipDocket.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_ShipDocket.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "print/myPrinter.h"
#include "ui/Prompt.h"

namespace {

// The record's fields hold 99 bytes, the washing method 511.
constexpr int kFieldBytes = 99;
constexpr int kMethodBytes = 511;

}  // namespace

Outcome loadShipmentDocket(mySQLTool& db, quint64 serial, DocketRecord& record)
{
    record = DocketRecord();
    const Rows read = db.Read(shipperq::docket(db, serial));
    if (!read)
        return read.failed();
    // Deleted by another desk, or its customer is gone: say so rather than show an empty error.
    if (read.empty())
        return Outcome::refused(QStringLiteral("没有找到序列号为%1的发货记录").arg(serial));
    const Row& row = read.first();
    const auto field = [&row](int column, int bytes) { return Gbk::leftBytes(row.text(column), bytes); };
    record.customerName = field(0, kFieldBytes);
    record.orderNumber = field(1, kFieldBytes);
    record.styleNumber = field(2, kFieldBytes);
    record.productName = field(3, kFieldBytes);
    record.washingMethod = field(4, kMethodBytes);
    record.originalQuantity = field(5, kFieldBytes);
    record.washedQuantity = field(6, kFieldBytes);
    // Column 7, the losses, is not part of the docket.
    record.goodsQuantity = field(8, kFieldBytes);
    record.goodsQuantityTotal = record.goodsQuantity;
    record.unitPrice = field(9, kFieldBytes);
    record.issuer = field(10, kFieldBytes);
    record.shipper = field(11, kFieldBytes);
    record.remark = field(12, kFieldBytes);

    const float amount =
        static_cast<float>(convert::toDouble(record.unitPrice) * convert::toDouble(record.goodsQuantity));
    record.amount = QString::asprintf("%.2f", static_cast<double>(amount));
    record.totalAmount = record.amount;
    record.printTime = GetTimeText(0);
    return Outcome::done();
}

bool printShipmentDocket(QWidget* owner, quint64 serial)
{
    DocketRecord record;
    if (!prompt().report(loadShipmentDocket(g_sqlTool, serial, record)))
        return false;
    Dlg_ShipDocket dialog(record, serial, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    myPrinter printer(owner);
    return prompt().report(printer.PrintDocket(dialog.record()));
}
