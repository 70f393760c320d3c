#pragma once

#include "print/DocketRecord.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Shows a shipment's docket before it is printed and lets the operator set its remark,
// which is stored with the shipment.
class Dlg_ShipDocket : public QDialog {
    Q_OBJECT
public:
    Dlg_ShipDocket(const DocketRecord& record, quint64 serial, QWidget* parent = nullptr);

    // The record with the remark as confirmed.
    const DocketRecord& record() const { return record_; }

    // The docket as the dialog shows it, lines separated by CR LF.
    static QString docketText(const DocketRecord& record);

private:
    void remarkEdited();
    void confirm();

    DocketRecord record_;
    quint64 serial_;
    QPlainTextEdit* docket_;
    QCheckBox* setRemark_;
    QLineEdit* remark_;
};
