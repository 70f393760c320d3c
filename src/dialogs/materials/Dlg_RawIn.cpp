#include "dialogs/materials/Dlg_RawIn.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/materials/MaterialLists.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/ops/Purchase.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Appearance.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace materials;

namespace {

const QString kNotice = QStringLiteral("提示");
// The purchase desk says "错误" over every refusal and failure.
const QString kError = QStringLiteral("错误");

// A master-data list and, below it, the switch that unlocks its two fields and 应用.
void layOutEditor(QGroupBox* group, KvGrid* list, QCheckBox* editing, std::pair<QString, QWidget*> first,
                  std::pair<QString, QWidget*> second, QPushButton* apply)
{
    auto* form = new QGridLayout;
    form->addWidget(editing, 0, 0, 1, 2);
    int row = 1;
    for (const auto& [caption, field] : {first, second}) {
        form->addWidget(makeCaption(caption, field, group), row, 0);
        form->addWidget(field, row++, 1);
    }
    form->addWidget(apply, row, 1, Qt::AlignRight);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list, 1);
    layout->addLayout(form);
    bindSwitch(editing, {first.second, second.second, apply});
}

}  // namespace

Dlg_RawIn::Dlg_RawIn(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_RawIn"));
    setWindowTitle(QStringLiteral("采购登记"));

    purchases_ = makeList(QStringLiteral("采购记录"), "purchaseList", this,
                          {{"序列号", 60},
                           {"原料名称", 80},
                           {"供应商", 80},
                           {"数量", 60},
                           {"单价", 50},
                           {"金额", 50},
                           {"时间", 120},
                           {"采购人", 70}});

    auto* top = new QHBoxLayout;
    top->addWidget(materialPanel(), 3);
    top->addWidget(supplierPanel(), 2);
    top->addWidget(purchasePanel(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(purchases_, 2);
    resize(1000, 720);

    fillMaterials(materials_, MaterialColumns::Desk);
    fillSuppliers();
    prompt().report(buyers_->Fill(g_sqlTool, materialq::activeMembers(g_sqlTool)));
    prompt().report(purchases_->Fill(g_sqlTool, materialq::recentPurchases(g_sqlTool)));
}

QWidget* Dlg_RawIn::materialPanel()
{
    auto* group = new QGroupBox(QStringLiteral("原料列表"), this);
    materials_ = makeMaterialList(group, MaterialColumns::Desk);
    editMaterial_ = makeCheckBox(QStringLiteral("编辑原料"), "editMaterialCheck", group);
    materialName_ = makeEdit(QStringLiteral("原料名称"), "materialNameEdit", group);
    materialUnit_ = makeCombo(QStringLiteral("原料单位"), "materialUnitCombo", group);
    materialUnit_->addItems(units());
    materialUnit_->setCurrentIndex(-1);
    auto* apply = makeButton(QStringLiteral("应用"), "applyMaterialButton", group);

    layOutEditor(group, materials_, editMaterial_, {QStringLiteral("原料名称"), materialName_},
                 {QStringLiteral("原料单位"), materialUnit_}, apply);
    connect(editMaterial_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) {
            materialName_->clear();
            materialUnit_->setCurrentIndex(-1);
        }
    });
    connect(apply, &QPushButton::clicked, this, &Dlg_RawIn::applyMaterial);
    return group;
}

QWidget* Dlg_RawIn::supplierPanel()
{
    auto* group = new QGroupBox(QStringLiteral("供应商列表"), this);
    suppliers_ = makeList(group->title(), "supplierList", group, {{"序列", 0}, {"名称", 90}, {"说明", 0}});
    editSupplier_ = makeCheckBox(QStringLiteral("编辑供应商"), "editSupplierCheck", group);
    supplierName_ = makeEdit(QStringLiteral("供应商名称"), "supplierNameEdit", group);
    supplierRemark_ = makeEdit(QStringLiteral("供应商说明"), "supplierRemarkEdit", group);
    auto* apply = makeButton(QStringLiteral("应用"), "applySupplierButton", group);

    layOutEditor(group, suppliers_, editSupplier_, {QStringLiteral("供应商名称"), supplierName_},
                 {QStringLiteral("供应商说明"), supplierRemark_}, apply);
    connect(editSupplier_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) {
            supplierName_->clear();
            supplierRemark_->clear();
        }
    });
    connect(apply, &QPushButton::clicked, this, &Dlg_RawIn::applySupplier);
    return group;
}

QWidget* Dlg_RawIn::purchasePanel()
{
    auto* group = new QGroupBox(QStringLiteral("采购人"), this);
    buyers_ = makeList(group->title(), "buyerList", group, {{"工号", 0}, {"姓名", 60}});
    quantity_ = makeEdit(QStringLiteral("采购数量"), "quantityEdit", group);
    price_ = makeEdit(QStringLiteral("采购单价"), "priceEdit", group);
    editAmount_ = makeCheckBox(QStringLiteral("编辑采购金额"), "editAmountCheck", group);
    amount_ = makeEdit(QStringLiteral("采购金额"), "amountEdit", group);
    auto* submit = makeButton(QStringLiteral("登记"), "registerButton", group);

    auto* form = new QGridLayout;
    form->addWidget(makeCaption(QStringLiteral("采购数量"), quantity_, group), 0, 0);
    form->addWidget(quantity_, 0, 1);
    form->addWidget(makeCaption(QStringLiteral("采购单价"), price_, group), 1, 0);
    form->addWidget(price_, 1, 1);
    form->addWidget(editAmount_, 2, 0, 1, 2);
    form->addWidget(amount_, 3, 1);
    form->addWidget(submit, 4, 1, Qt::AlignRight);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(buyers_, 1);
    layout->addLayout(form);

    bindSwitch(editAmount_, {amount_});
    connect(quantity_, &QLineEdit::textChanged, this, &Dlg_RawIn::updateAmount);
    connect(price_, &QLineEdit::textChanged, this, &Dlg_RawIn::updateAmount);
    connect(editAmount_, &QCheckBox::toggled, this, &Dlg_RawIn::updateAmount);
    connect(submit, &QPushButton::clicked, this, &Dlg_RawIn::registerPurchase);
    return group;
}

void Dlg_RawIn::fillSuppliers(quint64 select)
{
    const QString selected = select ? QString::number(select) : selectedCell(suppliers_, 0);
    if (prompt().report(suppliers_->Fill(g_sqlTool, materialq::suppliers(g_sqlTool))) && !selected.isEmpty())
        selectRowWith(suppliers_, 0, selected);
}

void Dlg_RawIn::updateAmount()
{
    // Typed by hand while 编辑采购金额 is ticked; otherwise quantity times price.
    if (editAmount_->isChecked())
        return;
    const double quantity = convert::toDouble(quantity_->text());
    const double price = convert::toDouble(price_->text());
    if (quantity > 0 && price > 0)
        amount_->setText(QString::asprintf("%.2f", quantity * price));
}

void Dlg_RawIn::applyMaterial()
{
    const QString name = materialName_->text().trimmed();
    const QString unit = materialUnit_->currentIndex() < 0 ? QString() : materialUnit_->currentText();
    if (name.isEmpty() || unit.isEmpty()) {
        prompt().report(addMaterial(g_sqlTool, name, unit), kError);  // refused before anything is read
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定添加新原料吗？"), kNotice))
        return;
    if (!prompt().report(addMaterial(g_sqlTool, name, unit), kError))
        return;
    prompt().message(QStringLiteral("编辑成功"), kApplicationTitle);
    materialName_->clear();
    materialUnit_->setCurrentIndex(-1);
    fillMaterials(materials_, MaterialColumns::Desk);
    selectRowWith(materials_, 0, name);
}

void Dlg_RawIn::applySupplier()
{
    const QString name = supplierName_->text().trimmed();
    if (name.isEmpty()) {
        prompt().report(addSupplier(g_sqlTool, name, QString()), kError);
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定添加新供应商吗？"), kNotice))
        return;
    quint64 id = 0;
    if (!prompt().report(addSupplier(g_sqlTool, name, supplierRemark_->text().trimmed(), &id), kError))
        return;
    prompt().message(QStringLiteral("编辑成功"), kApplicationTitle);
    supplierName_->clear();
    supplierRemark_->clear();
    fillSuppliers(id);
}

void Dlg_RawIn::registerPurchase()
{
    Purchase p;
    // A name typed under 编辑原料 (or 编辑供应商) and not yet applied is added with the purchase.
    p.newMaterial = editMaterial_->isChecked() && !materialName_->text().trimmed().isEmpty();
    p.material = p.newMaterial ? materialName_->text().trimmed() : selectedCell(materials_, 0);
    p.unit = materialUnit_->currentIndex() < 0 ? QString() : materialUnit_->currentText();
    p.newSupplier = editSupplier_->isChecked() && !supplierName_->text().trimmed().isEmpty();
    p.supplierName = supplierName_->text().trimmed();
    p.supplierRemark = supplierRemark_->text().trimmed();
    p.supplier = p.newSupplier ? 0 : convert::toId(selectedCell(suppliers_, 0));
    p.buyer = convert::toId(selectedCell(buyers_, 0));
    p.quantity = convert::toDouble(quantity_->text());
    p.price = convert::toDouble(price_->text());
    p.amount = convert::toDouble(amount_->text());
    p.account = g_account;
    if (!prompt().report(checkPurchase(p), kError))
        return;
    if (p.newMaterial && !prompt().confirm(QStringLiteral("确定添加新原料吗？"), kNotice))
        return;
    if (p.newSupplier && !prompt().confirm(QStringLiteral("确定添加新供应商吗？"), kNotice))
        return;
    if (!prompt().confirm(QStringLiteral("确定登记吗？"), kNotice))
        return;

    quint64 supplier = 0;
    const Outcome r = materials::registerPurchase(g_sqlTool, p, &supplier);
    prompt().report(r, kError);
    if (r.kind() == Outcome::Kind::Failed)
        return;
    if (r.ok()) {
        if (p.newMaterial) {
            materialName_->clear();
            materialUnit_->setCurrentIndex(-1);
        }
        if (p.newSupplier) {
            supplierName_->clear();
            supplierRemark_->clear();
        }
    }
    // The stock and average as they are now, with the purchased material still chosen.
    fillMaterials(materials_, MaterialColumns::Desk);
    if (r.ok())
        selectRowWith(materials_, 0, p.material);
    fillSuppliers(r.ok() ? supplier : 0);
    prompt().report(purchases_->Fill(g_sqlTool, materialq::recentPurchases(g_sqlTool)));
}
