#include "dialogs/finance/Dlg_SalaryEdit.h"

#include "db/Convert.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/finance/ops/Supplement.h"
#include "flow/FlowQueries.h"
#include "grid/KvGrid.h"
#include "parts/PagedList.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");
enum EditColumn { Id, Name, Process, Quantity, Amount };

using F = financeq::OrderFilter;

constexpr GridColumns kOrderColumns = {{"货单号", 60},   {"款号", 50},     {"客户", 60},     {"货物数量", 70},
                                       {"接货时间", 70}, {"货物性质", 70}, {"货物分类", 70}, {"货物款式", 70},
                                       {"货物性别", 70}, {"洗涤方法", 70}, {"货物单价", 70}, {"原版数量", 70},
                                       {"洗版数量", 70}, {"货物等级", 70}, {"激活", 50},     {"激活时间", 70},
                                       {"结讫", 50},     {"结讫时间", 70}};

}  // namespace

Dlg_SalaryEdit::Dlg_SalaryEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_SalaryEdit"));
    setWindowTitle(QStringLiteral("计件追加"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(searchPanel(), 3);
    layout->addWidget(editPanel(), 2);
    resize(1180, 820);

    prompt().report(clients_->Fill(g_sqlTool, financeq::activeClientsByName(g_sqlTool)));
    prompt().report(teams_->Fill(g_sqlTool, financeq::teamsByName(g_sqlTool)));
    FillCombo(g_sqlTool, *process_, adminq::choices(g_sqlTool, adminq::Choice::Processes));
    lock_->setEnabled(false);
    setLockMode(false);
}

QWidget* Dlg_SalaryEdit::searchPanel()
{
    auto* panel = new QWidget(this);
    auto* byClient = makeCheckBox(QStringLiteral("选择查询客户"), "clientSwitch", panel);
    clients_ = makeList(byClient->text(), "clientList", panel, {{"客户号", 0}, {"名称", 80}});
    auto* received = new TimeCondition(QStringLiteral("选择查询接货时间"), QStringLiteral("received"),
                                       TimeCondition::Second, TimeCondition::First, panel);
    auto* byOrder = makeCheckBox(QStringLiteral("选择查询货单号"), "orderSwitch", panel);
    auto* orderNumber = makeEdit(byOrder->text(), "orderEdit", panel);
    auto* searchButton = makeButton(QStringLiteral("查询"), "searchButton", panel);
    const char* const noOrder = "您设置了勾选货单号，请输入一个货单号作为查询条件";
    conditions_
        .list(byClient, clients_, "您设置了勾选客户，请选择一个客户作为查询条件",
              [](F& f, const QString& id) { f.client = convert::toId(id); })
        .time(received, "您设置了勾选时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.received = m; })
        .edit(byOrder, orderNumber, noOrder, [noOrder](F& f, const QString& text) {
            bool ok = false;
            f.order = text.trimmed().toULongLong(&ok);
            return ok && *f.order != 0 ? QString() : QString::fromUtf8(noOrder);
        });
    connect(byOrder, &QCheckBox::toggled, this, [orderNumber](bool on) {
        if (!on)
            orderNumber->clear();
    });

    auto* conditions = new QVBoxLayout;
    conditions->addWidget(byClient);
    conditions->addWidget(clients_, 1);
    conditions->addWidget(received);
    conditions->addWidget(byOrder);
    conditions->addWidget(orderNumber);
    conditions->addWidget(searchButton);

    orders_ = new PagedList(g_sqlTool, QStringLiteral("orders"), panel);
    orders_->list()->setAccessibleName(QStringLiteral("货单列表"));
    orders_->list()->InsertColumns(kOrderColumns);

    lockedList_ = makeList(QStringLiteral("锁定的货单"), "lockedList", panel, kOrderColumns);
    lockedList_->setMaximumHeight(lockedList_->horizontalHeader()->sizeHint().height() +
                                  3 * lockedList_->fontMetrics().height());
    lock_ = makeCheckBox(QStringLiteral("锁定要追加的货单"), "lockCheck", panel);

    auto* right = new QVBoxLayout;
    right->addWidget(orders_, 1);
    right->addWidget(lock_);
    right->addWidget(lockedList_);

    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(conditions);
    row->addLayout(right, 1);

    connect(searchButton, &QPushButton::clicked, this, &Dlg_SalaryEdit::search);
    connect(orders_, &PagedList::rowClicked, this, &Dlg_SalaryEdit::orderClicked);
    connect(lock_, &QCheckBox::toggled, this, &Dlg_SalaryEdit::lockToggled);
    return panel;
}

QWidget* Dlg_SalaryEdit::editPanel()
{
    auto* panel = new QGroupBox(QStringLiteral("计件追加"), this);
    teams_ = makeList(QStringLiteral("班组列表"), "teamList", panel, {{"班组名称", 80}});
    staff_ = makeList(QStringLiteral("员工列表"), "staffList", panel, {{"工号", 0}, {"姓名", 80}});
    process_ = makeCombo(QStringLiteral("工序"), "processCombo", panel);
    process_->setMinimumContentsLength(8);
    common_ = makeCheckBox(QStringLiteral("统一输入"), "commonCheck", panel);
    commonQuantity_ = makeEdit(QStringLiteral("数量"), "commonQuantityEdit", panel);
    selectAll_ = makeCheckBox(QStringLiteral("选择全部"), "selectAllCheck", panel);
    insert_ = makeButton(QStringLiteral("插入"), "insertButton", panel);
    delete_ = makeButton(QStringLiteral("删除"), "deleteButton", panel);
    register_ = makeButton(QStringLiteral("登记"), "registerButton", panel);
    edit_ = makeList(QStringLiteral("编辑项"), "editList", panel,
                     {{"工号", 50}, {"姓名", 70}, {"工序", 70}, {"数量", 60}, {"金额", 60}});
    edit_->SetTextEditor(Quantity);
    edit_->SetTextEditor(Amount);
    bindSwitch(common_, {commonQuantity_});
    connect(common_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            commonQuantity_->clear();
    });

    auto* middle = new QGridLayout;
    middle->addWidget(makeCaption(QStringLiteral("工序"), process_, panel), 0, 0);
    middle->addWidget(process_, 0, 1);
    middle->addWidget(common_, 1, 0);
    middle->addWidget(makeCaption(QStringLiteral("数量"), commonQuantity_, panel), 2, 0);
    middle->addWidget(commonQuantity_, 2, 1);
    middle->addWidget(selectAll_, 3, 0, 1, 2);
    middle->addWidget(insert_, 4, 0);
    middle->addWidget(delete_, 4, 1);
    middle->addWidget(register_, 5, 0, 1, 2);
    middle->setRowStretch(6, 1);

    auto* row = new QHBoxLayout(panel);
    row->addWidget(teams_, 1);
    row->addWidget(staff_, 1);
    row->addLayout(middle);
    row->addWidget(edit_, 3);

    connect(teams_, &KvGrid::rowClicked, this, &Dlg_SalaryEdit::teamClicked);
    connect(process_, &QComboBox::activated, this, &Dlg_SalaryEdit::processChosen);
    connect(commonQuantity_, &QLineEdit::textEdited, this, &Dlg_SalaryEdit::commonQuantityEdited);
    connect(insert_, &QPushButton::clicked, this, &Dlg_SalaryEdit::insertRows);
    connect(delete_, &QPushButton::clicked, this, &Dlg_SalaryEdit::deleteRows);
    connect(register_, &QPushButton::clicked, this, &Dlg_SalaryEdit::registerWork);
    connect(edit_, &KvGrid::editEnded, this, &Dlg_SalaryEdit::quantityEdited);
    return panel;
}

// "查询": the orders that every ticked condition allows, the order number among them.
void Dlg_SalaryEdit::search()
{
    const std::optional<financeq::OrderFilter> filter = conditions_.read();
    if (!filter)
        return;
    const financeq::OrderFilter f = *filter;
    const bool shown =
        orders_->run([f](quint64 offset, int count) { return financeq::orders(g_sqlTool, f, offset, count); },
                     financeq::countOrders(g_sqlTool, f));
    if (shown)
        orders_->label()->setText(QStringLiteral("共查询到%1条记录，显示其中%2条")
                                      .arg(orders_->total())
                                      .arg(orders_->list()->GetItemCount()));
}

void Dlg_SalaryEdit::orderClicked(int row)
{
    if (row < 0 || (lock_->isChecked() && lockedList_->GetItemCount() > 0))
        return;
    lockedList_->DeleteAllItems();
    lockedList_->AppendItem(orders_->list()->rows().rowCells(row));
    lock_->setEnabled(true);
}

void Dlg_SalaryEdit::lockToggled(bool on)
{
    if (!on) {
        setLockMode(false);
        lockedList_->DeleteAllItems();
        lock_->setEnabled(false);
        return;
    }
    const quint64 order = convert::toId(lockedList_->GetItemText(0, 0));
    const Rows read = g_sqlTool.Read(financeq::orderForSupplement(g_sqlTool, order));
    if (!read || read.empty()) {
        prompt().message(read ? QStringLiteral("找不到货单%1").arg(order) : read.error(), kError);
        const QSignalBlocker quiet(lock_);
        lock_->setChecked(false);
        return;
    }
    using O = financeq::OrderForSupplement;
    const Row& o = read.first();
    if (!prompt().report(finance::orderTakesSupplement(order, o.toInt(O::Closed)), kError)) {
        const QSignalBlocker quiet(lock_);
        lock_->setChecked(false);
        return;
    }
    locked_ = order;
    lockedGoods_ = o.toInt(O::Goods);
    setLockMode(true);
}

void Dlg_SalaryEdit::setLockMode(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{register_, insert_, delete_, teams_, staff_, edit_,
                                                      selectAll_, common_, process_})
        w->setEnabled(on);
    if (on)
        return;
    locked_ = 0;
    common_->setChecked(false);
    commonQuantity_->setEnabled(false);
    commonQuantity_->clear();
    process_->setCurrentIndex(-1);
    edit_->DeleteAllItems();
    staff_->DeleteAllItems();
}

void Dlg_SalaryEdit::teamClicked(int row)
{
    if (row < 0)
        return;
    prompt().report(staff_->Fill(g_sqlTool, financeq::teamStaff(g_sqlTool, teams_->GetItemText(row, 0))));
}

// The rate always follows the step chosen, also before any row is there, so that no row is
// written with one step's name and another's rate.
void Dlg_SalaryEdit::processChosen()
{
    const QString name = process_->currentText();
    if (name.isEmpty())
        return;
    const Rows read = g_sqlTool.Read(flowq::processRate(g_sqlTool, name));
    if (!read || read.empty()) {
        rate_ = 0;
        prompt().message(read ? QStringLiteral("找不到工序%1的工价").arg(name) : read.error(), kError);
        return;
    }
    rate_ = read.first().toDouble(0);
    for (int r = 0; r < edit_->GetItemCount(); ++r) {
        edit_->SetItemText(r, Process, name);
        setAmount(r);
    }
}

void Dlg_SalaryEdit::commonQuantityEdited()
{
    const int quantity = convert::toInt(commonQuantity_->text());
    if (!common_->isChecked() || quantity <= 0)
        return;
    for (int r = 0; r < edit_->GetItemCount(); ++r) {
        edit_->SetItemText(r, Quantity, QString::number(quantity));
        setAmount(r);
    }
}

void Dlg_SalaryEdit::insertRows()
{
    if (selectAll_->isChecked()) {
        for (int r = 0; r < staff_->GetItemCount(); ++r)
            insertMember(r);
        return;
    }
    const int row = staff_->GetSelectedRow();
    if (row >= 0)
        insertMember(row);
}

void Dlg_SalaryEdit::insertMember(int row)
{
    const quint64 member = convert::toId(staff_->GetItemText(row, 0));
    if (member == 0)
        return;
    if (edit_->FindRow(Id, QString::number(member)) >= 0)
        return;
    const int added = edit_->AppendItem({QString::number(member), staff_->GetItemText(row, 1),
                                         process_->currentText(), QString(), QString()});
    if (common_->isChecked() && !process_->currentText().isEmpty() && !commonQuantity_->text().isEmpty()) {
        edit_->SetItemText(added, Quantity, commonQuantity_->text());
        setAmount(added);
    }
}

void Dlg_SalaryEdit::deleteRows()
{
    if (edit_->GetItemCount() == 0)
        return;
    if (selectAll_->isChecked()) {
        edit_->DeleteAllItems();
        return;
    }
    const int row = edit_->GetSelectedRow();
    if (row >= 0)
        edit_->DeleteItem(row);
}

void Dlg_SalaryEdit::quantityEdited(int row, int column)
{
    if (column == Quantity)
        setAmount(row);
}

void Dlg_SalaryEdit::setAmount(int row)
{
    const int quantity = convert::toInt(edit_->GetItemText(row, Quantity));
    edit_->SetItemText(row, Amount,
                       quantity > 0 ? QString::asprintf("%.2f", quantity * rate_) : QStringLiteral("0"));
}

// "登记"
void Dlg_SalaryEdit::registerWork()
{
    finance::Supplement s;
    s.order = locked_;
    s.process = process_->currentText();
    s.rate = rate_;
    for (int r = 0; r < edit_->GetItemCount(); ++r)
        s.rows.append({convert::toId(edit_->GetItemText(r, Id)),
                       convert::toInt(edit_->GetItemText(r, Quantity)),
                       convert::toDouble(edit_->GetItemText(r, Amount))});
    if (!prompt().report(finance::checkSupplement(s, lockedGoods_), kError) || !piecesAgreed(s))
        return;
    if (!prompt().confirm(QStringLiteral("确定为货单%1追加新的计件工作记录吗？").arg(locked_), kNotice))
        return;
    s.account = g_account;
    s.now = GetTimeText(0);
    if (!prompt().report(finance::supplement(g_sqlTool, s), kError))
        return;
    prompt().message(QStringLiteral("追加等级成功"), kNotice);
    lock_->setChecked(false);
    lock_->setEnabled(false);
}

// The step's pieces paid on the order, at the stations and by earlier supplements, and these:
// beyond the order's goods the user is asked first.
bool Dlg_SalaryEdit::piecesAgreed(const finance::Supplement& s)
{
    const Rows read = g_sqlTool.Read(financeq::stepPieces(g_sqlTool, s.order, s.process));
    if (!read) {
        prompt().report(read.failed(), kError);
        return false;
    }
    const qint64 done = read.first().toInt64(0);
    qint64 adding = 0;
    for (const finance::SupplementRow& r : s.rows)
        adding += r.quantity;
    if (done + adding <= lockedGoods_)
        return true;
    return prompt().confirm(
        QStringLiteral("货单%1的“%2”已计件%3件，本次追加%4件后共%5件，超出货物数量%6件，仍要登记吗？")
            .arg(s.order)
            .arg(s.process)
            .arg(done)
            .arg(adding)
            .arg(done + adding)
            .arg(lockedGoods_),
        kNotice);
}
