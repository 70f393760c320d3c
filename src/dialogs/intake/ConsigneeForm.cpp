#include "dialogs/intake/ConsigneeForm.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/intake/IntakeQueries.h"
#include "dialogs/intake/MethodPanel.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");

QString text(const QComboBox* c)
{
    return c->currentIndex() < 0 ? QString() : c->currentText();
}

}  // namespace

ConsigneeForm::ConsigneeForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("orderForm"));
    buildClients();
    auto* clientBox = new QGroupBox(QStringLiteral("客户列表"), this);
    auto* clientLayout = new QVBoxLayout(clientBox);
    clientLayout->addWidget(clients_, 1);
    clientLayout->addWidget(newClient_);
    clientLayout->addWidget(clientName_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(clientBox, 3);
    layout->addWidget(buildOrder(), 4);
    method_ = new MethodPanel(this);
    layout->addWidget(method_, 4);

    connect(clients_, &KvGrid::rowClicked, this, &ConsigneeForm::clientClicked);
    connect(newClient_, &QCheckBox::toggled, this, [this](bool on) {
        clientName_->setReadOnly(!on);
        clientName_->clear();
    });
    // The link field follows whatever nature is shown; the hint and the price only follow
    // the user's own choice, not an order being loaded.
    connect(nature_, &QComboBox::currentTextChanged, this, &ConsigneeForm::showRelated);
    connect(nature_, &QComboBox::textActivated, this, &ConsigneeForm::natureChosen);
    connect(method_, &MethodPanel::sequenceChanged, this, [this] {
        if (text(nature_) != intake::kRework)
            compose();
    });
    connect(method_->activateBox(), &QCheckBox::clicked, this, [this] {
        if (activateHinted_)
            return;
        activateHinted_ = true;
        prompt().message(QStringLiteral("不立刻送到车间的货单将不会被激活，可继续修改直到激活为止"), kNotice);
    });
    // Pressing "查询货单" takes the focus off the number, which looks it up; when the
    // focus could not move (no active window) the press does it.
    connect(queryRelated_, &QPushButton::clicked, this, [this] {
        if (related_->hasFocus() && nature_->currentText() == intake::kRework)
            lookUpRelated();
    });
    related_->installEventFilter(this);
}

void ConsigneeForm::buildClients()
{
    // Wide enough for a whole customer name in the CJK font.
    clients_ = makeList(QStringLiteral("客户列表"), "clientList", this,
                        {{"客户号", 0}, {"名称", 110}, {"说明", 140}});
    newClient_ = makeCheckBox(QStringLiteral("编辑新客户"), "newClientCheck", this);
    clientName_ = makeEdit(QStringLiteral("客户名称"), "clientNameEdit", this);
    bindLock(newClient_, clientName_);
}

QWidget* ConsigneeForm::buildOrder()
{
    auto* box = new QGroupBox(QStringLiteral("货单信息"), this);
    auto* grid = new QGridLayout(box);
    receiver_ = makeCombo(QStringLiteral("接货人"), "receiverCombo", box);
    nature_ = makeCombo(QStringLiteral("货物性质"), "natureCombo", box);
    type_ = makeCombo(QStringLiteral("货物类型"), "typeCombo", box);
    kind_ = makeCombo(QStringLiteral("货物款式"), "kindCombo", box);
    sex_ = makeCombo(QStringLiteral("货物性别"), "sexCombo", box);
    priority_ = makeCombo(QStringLiteral("优先等级"), "priorityCombo", box);
    goods_ = makeEdit(QStringLiteral("货物数量"), "goodsEdit", box);
    style_ = makeEdit(QStringLiteral("款号"), "styleEdit", box);
    original_ = makeEdit(QStringLiteral("原版数量"), "originalEdit", box);
    washed_ = makeEdit(QStringLiteral("洗版数量"), "washedEdit", box);
    QWidget* const fields[] = {receiver_, nature_, type_,  kind_,     sex_,
                               priority_, goods_,  style_, original_, washed_};
    for (int i = 0; i < 10; ++i)
        placeField(grid, i / 2, i % 2, fields[i]);

    editPrice_ = makeCheckBox(QStringLiteral("编辑货物单价"), "editPriceCheck", box);
    price_ = makeEdit(QStringLiteral("货物单价"), "priceEdit", box);
    bindLock(editPrice_, price_);
    editLossPrice_ = makeCheckBox(QStringLiteral("编辑损耗单价"), "editLossPriceCheck", box);
    lossPrice_ = makeEdit(QStringLiteral("损耗单价"), "lossPriceEdit", box);
    bindLock(editLossPrice_, lossPrice_);
    grid->addWidget(editPrice_, 5, 0, 1, 2);
    grid->addWidget(editLossPrice_, 5, 2, 1, 2);
    grid->addWidget(price_, 6, 0, 1, 2);
    grid->addWidget(lossPrice_, 6, 2, 1, 2);

    related_ = makeEdit(QStringLiteral("关联货单号"), "relatedEdit", box);
    placeField(grid, 7, 0, related_);
    queryRelated_ = makeButton(QStringLiteral("查询货单"), "queryRelatedButton", box);
    grid->addWidget(queryRelated_, 7, 2, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(8, 1);
    for (QComboBox* c : {receiver_, nature_, type_, kind_, sex_, priority_})
        c->setMinimumContentsLength(6);
    return box;
}

bool ConsigneeForm::fillClients()
{
    return prompt().report(
        clients_->Fill(g_sqlTool, intakeq::clients(g_sqlTool), true, intakeq::byCaption()));
}

namespace {

const adminq::Choice kFormChoices[] = {adminq::Choice::Natures,    adminq::Choice::GoodsTypes,
                                       adminq::Choice::Kinds,      adminq::Choice::Sexes,
                                       adminq::Choice::Priorities, adminq::Choice::TechnologyTypes};

}  // namespace

QList<Statement> ConsigneeForm::openingReads() const
{
    QList<Statement> reads{intakeq::clients(g_sqlTool), intakeq::receivers(g_sqlTool)};
    for (const adminq::Choice c : kFormChoices)
        reads.append(adminq::choices(g_sqlTool, c));
    reads.append(adminq::setting(g_sqlTool, adminq::kLossPrice));
    return reads;
}

void ConsigneeForm::fillOpening(const Batch& read, int at)
{
    prompt().report(clients_->Fill(read.rows(at++), true, intakeq::byCaption()));
    FillCombo(*receiver_, read.rows(at++));
    {
        // Filling passes through the first item; only a choice counts.
        const QSignalBlocker quiet(nature_);
        FillCombo(*nature_, read.rows(at++));
    }
    for (QComboBox* combo : {type_, kind_, sex_, priority_})
        FillCombo(*combo, read.rows(at++));
    method_->fillCategories(read.rows(at++));

    const Rows price = read.rows(at);
    if (!prompt().report(price))
        return;
    if (price.empty()) {
        prompt().message(QStringLiteral("没有找到损耗单价的设置"), kError);
        return;
    }
    if (!price.first().isNull(0))
        lossPrice_->setText(price.first().text(0));
}

void ConsigneeForm::lockFields()
{
    for (QLineEdit* e : {clientName_, lossPrice_, price_})
        e->setReadOnly(true);
    method_->lock();
    related_->setEnabled(false);
    queryRelated_->setEnabled(false);
    newClient_->setEnabled(false);
}

void ConsigneeForm::allowNewClients(bool allowed)
{
    newClient_->setEnabled(allowed);
}

void ConsigneeForm::reset()
{
    for (QLineEdit* e : {style_, clientName_, goods_, price_, original_, washed_})
        e->clear();
    for (QComboBox* c : {receiver_, nature_, type_, kind_, sex_, priority_})
        c->setCurrentIndex(-1);
    method_->reset();
    for (QCheckBox* c : {newClient_, editPrice_, editLossPrice_})
        c->setChecked(false);
    related_->clear();
    related_->setEnabled(false);
    queryRelated_->setEnabled(false);
}

void ConsigneeForm::loadOrder(const QStringList& fields, const Row& order)
{
    const auto column = [&fields](const char* name) { return fields.indexOf(QString::fromUtf8(name)); };
    const auto present = [&order](int c) { return !order.isNull(c); };
    const auto nonZero = [&](const char* name, QLineEdit* e) {
        const int c = column(name);
        if (present(c) && order.toDouble(c) != 0)
            e->setText(order.text(c));
    };
    const auto choose = [&](const char* name, QComboBox* combo) {
        const int c = column(name);
        if (present(c))
            SelectComboText(*combo, order.text(c));
    };
    nonZero("款号", style_);
    nonZero("货物数量", goods_);
    choose("接货人", receiver_);
    choose("货物性质", nature_);
    choose("货物分类", type_);
    choose("货物款式", kind_);
    choose("货物性别", sex_);
    choose("货物等级", priority_);
    if (const int c = column("洗涤方法"); present(c))
        method_->setMethod(order.text(c));
    for (const auto& [name, edit] : {std::pair{"货物单价", price_}, std::pair{"损耗单价", lossPrice_}}) {
        const int c = column(name);
        if (present(c) && order.toDouble(c) > 0)
            edit->setText(order.text(c));
    }
    nonZero("原版数量", original_);
    nonZero("洗版数量", washed_);
    nonZero("关联", related_);
    if (const int c = column("客户号"); present(c) && order.toId(c) != 0)
        client_ = order.toId(c);
    for (int r = 0; r < clients_->GetItemCount(); ++r) {
        if (convert::toId(clients_->GetItemText(r, 0)) == client_) {
            clientName_->setText(clients_->GetItemText(r, 1));
            break;
        }
    }
}

intake::OrderForm ConsigneeForm::values() const
{
    intake::OrderForm f;
    f.clientName = clientName_->text();
    f.newClient = newClient_->isChecked();
    f.client = client_;
    f.receiver = text(receiver_);
    f.nature = text(nature_);
    f.type = text(type_);
    f.kind = text(kind_);
    f.sex = text(sex_);
    f.priority = text(priority_);
    f.goods = goods_->text();
    f.original = original_->text();
    f.washed = washed_->text();
    f.style = style_->text();
    f.price = price_->text();
    f.lossPrice = lossPrice_->text();
    f.related = related_->text();
    f.method = method_->method();
    return f;
}

bool ConsigneeForm::activate() const
{
    return method_->activateBox()->isChecked();
}

bool ConsigneeForm::newClient() const
{
    return newClient_->isChecked();
}

QString ConsigneeForm::clientName() const
{
    return clientName_->text();
}

QString ConsigneeForm::priority() const
{
    return text(priority_);
}

void ConsigneeForm::setActivate(bool on)
{
    method_->activateBox()->setChecked(on);
}

void ConsigneeForm::chooseClient(quint64 client)
{
    client_ = client;
    for (int r = 0; r < clients_->GetItemCount(); ++r) {
        if (convert::toId(clients_->GetItemText(r, 0)) == client) {
            clients_->SelectRow(r);
            return;
        }
    }
    clients_->SelectRow(-1);
}

bool ConsigneeForm::keepsEnter(const QWidget* w) const
{
    for (const QWidget* e : {goods_, original_, washed_, style_, price_, lossPrice_, clientName_, related_})
        if (w == e)
            return true;
    return false;
}

bool ConsigneeForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == related_ && e->type() == QEvent::FocusOut) {
        // Only a move within the screen looks the order up, not switching to another window.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason &&
            nature_->currentText() == intake::kRework)
            lookUpRelated();
    }
    return QWidget::eventFilter(watched, e);
}

void ConsigneeForm::clientClicked(int row)
{
    if (row < 0)
        return;
    client_ = convert::toId(clients_->GetItemText(row, 0));
    clientName_->setText(clients_->GetItemText(row, 1));
}

void ConsigneeForm::showRelated(const QString& nature)
{
    const bool rework = nature == intake::kRework;
    if (!rework)
        related_->clear();
    related_->setEnabled(rework);
    queryRelated_->setEnabled(rework);
}

void ConsigneeForm::natureChosen(const QString& nature)
{
    if (nature != intake::kRework)
        return;
    if (!reworkHinted_) {
        reworkHinted_ = true;
        prompt().message(QStringLiteral("返工的货物必须选择关联货单号"), kNotice);
    }
    price_->clear();
}

void ConsigneeForm::compose()
{
    QString method;
    float sum = 0;
    for (const QString& name : method_->sequence()) {
        method += QLatin1Char('[') + name + QLatin1Char(']');
        const Rows price = g_sqlTool.Read(intakeq::technologyPrice(g_sqlTool, name));
        if (!prompt().report(price))
            return;
        // Renamed or removed at another desk since the list was filled: not priced as 0.
        if (price.empty()) {
            prompt().message(QStringLiteral("工艺“%1”已不存在，请重新选择").arg(name), kError);
            return;
        }
        if (!price.first().isNull(0))
            sum += convert::toFloat(price.first().text(0));
    }
    method_->compose(method);
    if (!editPrice_->isChecked())
        price_->setText(QString::asprintf("%.2f", double(sum)));
}

void ConsigneeForm::lookUpRelated()
{
    const quint64 order = convert::toId(related_->text());
    if (order == 0) {
        prompt().message(QStringLiteral("错误的关联货单号"), kError);
        return;
    }
    const Rows read = g_sqlTool.Read(intakeq::relatedOrder(g_sqlTool, order));
    if (!prompt().report(read))
        return;
    if (read.empty()) {
        prompt().message(QStringLiteral("所关联的货单号不存在"), kError);
        return;
    }
    using C = intakeq::RelatedOrder;
    const Row& related = read.first();
    // The rework belongs to the customer of the order it reworks, not to a new one.
    newClient_->setChecked(false);
    if (!related.isNull(C::ClientName))
        clientName_->setText(related.text(C::ClientName));
    for (const auto& [column, combo] :
         {std::pair{C::Type, type_}, std::pair{C::Kind, kind_}, std::pair{C::Sex, sex_}})
        if (!related.isNull(column))
            SelectComboText(*combo, related.text(column));
    if (!related.isNull(C::LossPrice))
        lossPrice_->setText(related.text(C::LossPrice));
    if (!related.isNull(C::Method))
        method_->setMethod(related.text(C::Method));
    const quint64 client = related.toId(C::Client);
    if (client != 0)
        chooseClient(client);
    method_->clearSequence();
}

QPushButton* ConsigneeForm::submitButton() const
{
    return method_->submitButton();
}
