#pragma once

#include <QString>

// The fields of a shipment docket, as filled from the shipment row and printed.
struct DocketRecord {
    QString customerName;
    QString orderNumber;
    QString printTime;
    QString styleNumber;
    QString productName;
    QString washingMethod;
    QString goodsQuantity;
    QString originalQuantity;    // 原版数量
    QString washedQuantity;      // 洗版数量
    QString goodsQuantityTotal;  // the goods quantity again, for the totals line
    QString unitPrice;
    QString amount;
    QString totalAmount;
    QString remark;
    QString issuer;
    QString shipper;
};
