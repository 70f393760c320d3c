#include "dialogs/shipping/Dlg_ShipDocket.h"

#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/ops/ShipRemark.h"
#include "ui/Prompt.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTooLong = QStringLiteral("字数过多");
const QString kError = QStringLiteral("错误");

}  // namespace

QString Dlg_ShipDocket::docketText(const DocketRecord& r)
{
    const QStringList lines = {
        QStringLiteral("客户名称：") + r.customerName,
        QStringLiteral("货单号：") + r.orderNumber,
        QStringLiteral("款号：") + r.styleNumber,
        QStringLiteral("品名：") + r.productName,
        QStringLiteral("洗涤方法：") + r.washingMethod,
        QStringLiteral("货物数量：") + r.goodsQuantity,
        QStringLiteral("原版数量：") + r.originalQuantity,
        QStringLiteral("洗版数量：") + r.washedQuantity,
        QStringLiteral("货物单价：") + r.unitPrice,
        QStringLiteral("金额：") + r.amount,
        QStringLiteral("总金额：") + r.totalAmount,
        QStringLiteral("开票人：") + r.issuer,
        QStringLiteral("发货人：") + r.shipper,
    };
    return lines.join(QStringLiteral("\r\n"));
}

Dlg_ShipDocket::Dlg_ShipDocket(const DocketRecord& record, quint64 serial, QWidget* parent)
    : QDialog(parent), record_(record), serial_(serial)
{
    setWindowTitle(QStringLiteral("Docket"));
    setObjectName(QStringLiteral("Dlg_ShipDocket"));

    auto* label = new QLabel(QStringLiteral("发货信息"), this);
    docket_ = new QPlainTextEdit(this);
    docket_->setObjectName(QStringLiteral("docketText"));
    docket_->setReadOnly(true);
    docket_->setPlainText(docketText(record_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    docket_->setAccessibleName(label->text());
    label->setBuddy(docket_);
    docket_->setMinimumSize(320, 300);

    setRemark_ = new QCheckBox(QStringLiteral("设定备注"), this);
    setRemark_->setObjectName(QStringLiteral("setRemark"));
    remark_ = new QLineEdit(this);
    remark_->setObjectName(QStringLiteral("remark"));
    remark_->setAccessibleName(QStringLiteral("备注"));
    remark_->setText(record_.remark);
    remark_->setReadOnly(true);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }
    setRemark_->setAccessibleName(setRemark_->text());

    auto* remarkRow = new QHBoxLayout;
    remarkRow->addWidget(setRemark_);
    remarkRow->addWidget(remark_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(docket_, 1);
    layout->addLayout(remarkRow);
    layout->addLayout(buttons);

    connect(setRemark_, &QCheckBox::toggled, this, [this](bool on) { remark_->setReadOnly(!on); });
    connect(remark_, &QLineEdit::textChanged, this, &Dlg_ShipDocket::remarkEdited);
    connect(ok, &QPushButton::clicked, this, &Dlg_ShipDocket::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Dlg_ShipDocket::remarkEdited()
{
    if (Gbk::byteLength(remark_->text()) > shipping::kRemarkBytes)
        prompt().message(kTooLong, kError);
}

void Dlg_ShipDocket::confirm()
{
    const QString remark = remark_->text();
    if (Gbk::byteLength(remark) > shipping::kRemarkBytes) {
        prompt().message(kTooLong, kError);
        return;
    }
    if (serial_ == 0) {
        prompt().message(QStringLiteral("错误的发货单号"), kError);
        return;
    }
    record_.remark = remark;
    if (!remark.isEmpty() && !prompt().report(shipping::setShipRemark(g_sqlTool, serial_, remark)))
        return;
    accept();
}
