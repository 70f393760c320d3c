#include "dialogs/shipping/ShipDocket.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_ShipDocket.h"
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
    const char* c = tables::client;
    const char* s = tables::ship;
    if (!db.Select("select %s.名称, %s.货单号, %s.款号, %s.品名, %s.洗涤方法, %s.原版数量, %s.洗版数量, "
                   "%s.损耗数量, "
                   "%s.货物数量, %s.货物单价, %s.开票人, %s.发货人, %s.备注 from %s, %s where "
                   "%s.客户号=%s.客户号 and "
                   "%s.序列号=%I64u",
                   c, s, s, s, s, s, s, s, s, s, s, s, s, s, c, s, c, s, serial))
        return db.Failure();
    if (!db.FetchRow()) {
        db.FreeResult();
        // Deleted by another desk, or its customer is gone: say so rather than show an empty error.
        return Outcome::refused(QStringLiteral("没有找到序列号为%1的发货记录").arg(serial));
    }
    const auto field = [&db](int column, int bytes) { return Gbk::leftBytes(db.Value(column), bytes); };
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
    db.FreeResult();

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
    return printer.PrintDocket(dialog.record());
}
