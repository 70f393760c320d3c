#include "dialogs/shipping/ShipmentBlock.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ShipmentBlock::ShipmentBlock(QWidget* parent) : QGroupBox(QStringLiteral("发货"), parent)
{
    setObjectName(QStringLiteral("shipmentBlock"));
    auto* grid = new QGridLayout;
    const char* captions[] = {"原版数量", "洗版数量", "损耗数量", "货物数量"};
    const char* remainingNames[] = {"remainingOriginal", "remainingWashed", "remainingLoss",
                                    "availableGoods"};
    const char* entryNames[] = {"shipOriginal", "shipWashed", "shipLoss", "shipGoods"};
    auto* upper = new QLabel(QStringLiteral("可发送"), this);
    auto* lower = new QLabel(QStringLiteral("本次发送"), this);
    grid->addWidget(upper, 1, 0);
    grid->addWidget(lower, 2, 0);
    for (int i = 0; i < 4; ++i) {
        const QString caption = QString::fromUtf8(captions[i]);
        grid->addWidget(new QLabel(caption, this), 0, i + 1);
        remaining_[i] = new QLineEdit(this);
        remaining_[i]->setObjectName(QString::fromLatin1(remainingNames[i]));
        remaining_[i]->setReadOnly(true);
        remaining_[i]->setAccessibleName(caption);
        remaining_[i]->setAccessibleDescription(upper->text());
        entries_[i] = new QLineEdit(this);
        entries_[i]->setObjectName(QString::fromLatin1(entryNames[i]));
        entries_[i]->setAccessibleName(caption);
        entries_[i]->setAccessibleDescription(lower->text());
        grid->addWidget(remaining_[i], 1, i + 1);
        grid->addWidget(entries_[i], 2, i + 1);
    }
    shipAll_ = makeButton(QStringLiteral("全部发送"), "shipAllButton", this);
    grid->addWidget(shipAll_, 1, 5);

    auto* amountLabel = new QLabel(QStringLiteral("合计金额"), this);
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("amount"));
    amount_->setReadOnly(true);
    amountLabel->setBuddy(amount_);
    grid->addWidget(amountLabel, 1, 6, Qt::AlignBottom);
    grid->addWidget(amount_, 2, 6);

    auto* shipperLabel = new QLabel(QStringLiteral("选择发货人"), this);
    shipper_ = new QComboBox(this);
    shipper_->setObjectName(QStringLiteral("shipperCombo"));
    shipperLabel->setBuddy(shipper_);
    auto* issuerLabel = new QLabel(QStringLiteral("选择开票人"), this);
    issuer_ = new QComboBox(this);
    issuer_->setObjectName(QStringLiteral("issuerCombo"));
    issuerLabel->setBuddy(issuer_);
    for (QComboBox* c : {shipper_, issuer_}) {
        c->setMinimumContentsLength(6);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    shipper_->setAccessibleName(shipperLabel->text());
    issuer_->setAccessibleName(issuerLabel->text());
    amount_->setAccessibleName(amountLabel->text());
    grid->addWidget(shipperLabel, 0, 7);
    grid->addWidget(shipper_, 1, 7);
    grid->addWidget(issuerLabel, 0, 8);
    grid->addWidget(issuer_, 1, 8);

    noCheck_ = new QCheckBox(QStringLiteral("禁止数量核算"), this);
    noCheck_->setObjectName(QStringLiteral("noQuantityCheck"));
    grid->addWidget(noCheck_, 2, 7, 1, 2);

    submit_ = makeButton(QStringLiteral("提交发货"), "submitButton", this);
    closeOrder_ = makeButton(QStringLiteral("结讫货单"), "closeOrderButton", this);
    repair_ = makeButton(QStringLiteral("修复"), "repairButton", this);
    loss_ = makeButton(QStringLiteral("损耗登记"), "lossButton", this);
    loss_->hide();  // loss records have their own screen
    grid->addWidget(submit_, 1, 9);
    grid->addWidget(closeOrder_, 0, 10);
    grid->addWidget(repair_, 1, 10);
    grid->addWidget(loss_, 2, 10);
    grid->setColumnStretch(11, 1);
    setLayout(grid);

    connect(shipAll_, &QPushButton::clicked, this, &ShipmentBlock::shipAll);
    connect(entries_[Goods], &QLineEdit::textChanged, this, &ShipmentBlock::updateAmount);
}

void ShipmentBlock::fillPeople()
{
    FillCombo(g_sqlTool, *shipper_, shipperq::shippers(g_sqlTool));
    FillCombo(g_sqlTool, *issuer_, shipperq::issuers(g_sqlTool));
}

void ShipmentBlock::setEntriesEnabled(bool on)
{
    for (QWidget* w : entries_)
        w->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{shipAll_, shipper_, issuer_, noCheck_, submit_})
        w->setEnabled(on);
}

void ShipmentBlock::showRemaining(qint64 original, qint64 washed, qint64 loss, qint64 available)
{
    const qint64 values[] = {original, washed, loss, available};
    for (int i = 0; i < 4; ++i)
        remaining_[i]->setText(QString::number(values[i]));
}

void ShipmentBlock::clearRemaining()
{
    for (QLineEdit* e : remaining_)
        e->clear();
}

void ShipmentBlock::clearEntries()
{
    for (QLineEdit* e : entries_)
        e->clear();
    amount_->clear();
}

int ShipmentBlock::entered(Quantity q) const
{
    return convert::toInt(entries_[q]->text());
}

QString ShipmentBlock::shipper() const
{
    return shipper_->currentText();
}

QString ShipmentBlock::issuer() const
{
    return issuer_->currentText();
}

bool ShipmentBlock::noQuantityCheck() const
{
    return noCheck_->isChecked();
}

void ShipmentBlock::shipAll()
{
    for (int i = 0; i < 4; ++i)
        entries_[i]->setText(remaining_[i]->text());
}

void ShipmentBlock::updateAmount()
{
    const int n = entered(Goods);
    if (n < 1) {
        amount_->clear();
        return;
    }
    const Rows read = g_sqlTool.Read(shipperq::orderPrice(g_sqlTool, order_));
    if (!prompt().report(read) || read.empty())
        return;
    float price = convert::toFloat(read.first().text(0));
    // Rework is shipped free of charge; show what the shipment will carry.
    if (read.first().text(1) == QStringLiteral("返工"))
        price = 0;
    const float amount = static_cast<float>(double(n) * double(price));
    amount_->setText(QString::asprintf("%.2f", double(amount)));
}
