#include "dialogs/finance/Dlg_Salary.h"

#include "db/Convert.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");
enum EmployeeColumn { Id, Name, Role, Team, Total, Amount };

QString money(double v)
{
    return QString::asprintf("%.2f", v);
}

// The piece-work rows of an employee, pending or settled.
constexpr GridColumns kWorkColumns = {{"任务号", 60},    {"货单号", 60},   {"流水号", 60},
                                      {"完成时间", 120}, {"完成数量", 70}, {"损耗数量", 70},
                                      {"工价", 50},      {"损耗单价", 70}, {"共计", 50}};

}  // namespace

Dlg_Salary::Dlg_Salary(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Salary"));
    setWindowTitle(QStringLiteral("计件结算"));

    onlyPending_ = makeCheckBox(QStringLiteral("只显示有待结任务的员工"), "onlyPendingCheck", this);
    onlyPending_->setChecked(true);
    inactive_ = makeCheckBox(QStringLiteral("显示未激活的员工"), "inactiveCheck", this);
    // The last month by default: the period a monthly settlement pays.
    const QDate today = kvclock::now().date();
    const QDate month(today.year(), today.month(), 1);
    start_ = makeDate(QStringLiteral("起始时间"), "startDate", this, month.addMonths(-1));
    end_ = makeDate(QStringLiteral("截止时间"), "endDate", this, month);
    auto* chooseButton = makeButton(QStringLiteral("选择"), "chooseButton", this);

    auto* heading = new QLabel(QStringLiteral("员工计件结算表"), this);
    heading->setObjectName(QStringLiteral("headingLabel"));
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);

    employees_ = makeList(
        heading->text(), "employeeList", this,
        {{"工号", 60}, {"姓名", 70}, {"身份", 60}, {"班组", 70}, {"历史累计", 70}, {"本次累计", 70}});

    remove_ = makeButton(QStringLiteral("删除"), "removeButton", this);
    export_ = makeButton(QStringLiteral("导出"), "exportButton", this);
    settle_ = makeButton(QStringLiteral("结算"), "settleButton", this);
    for (QPushButton* b : {remove_, export_, settle_})
        b->setEnabled(false);

    showPending_ = makeRadio(QStringLiteral("待结任务"), "pendingRadio", this);
    showSettled_ = makeRadio(QStringLiteral("已结任务"), "settledRadio", this);
    showHistory_ = makeRadio(QStringLiteral("结算历史"), "historyRadio", this);
    auto* views = new QButtonGroup(this);
    for (QRadioButton* r : {showPending_, showSettled_, showHistory_})
        views->addButton(r);
    showPending_->setChecked(true);

    pending_ = makeList(showPending_->text(), "pendingList", this, kWorkColumns);
    settled_ = makeList(showSettled_->text(), "settledList", this, kWorkColumns);
    history_ = makeList(showHistory_->text(), "historyList", this,
                        {{"序列号", 60}, {"姓名", 80}, {"金额", 50}, {"起始日期", 120}, {"截止日期", 120}});

    auto* top = new QHBoxLayout;
    top->addWidget(onlyPending_);
    top->addWidget(inactive_);
    top->addSpacing(12);
    top->addWidget(makeCaption(QStringLiteral("起始时间"), start_, this));
    top->addWidget(start_);
    top->addWidget(makeCaption(QStringLiteral("截止时间"), end_, this));
    top->addWidget(end_);
    top->addWidget(chooseButton);
    top->addStretch(1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(new QLabel(QStringLiteral("共计金额"), this));
    actions->addStretch(1);
    for (QPushButton* b : {remove_, export_, settle_})
        actions->addWidget(b);

    auto* lower = new QHBoxLayout;
    for (QRadioButton* r : {showPending_, showSettled_, showHistory_})
        lower->addWidget(r);
    lower->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(heading);
    layout->addWidget(employees_, 3);
    layout->addLayout(actions);
    layout->addLayout(lower);
    for (KvGrid* g : {pending_, settled_, history_})
        layout->addWidget(g, 2);
    resize(900, 760);

    connect(chooseButton, &QPushButton::clicked, this, &Dlg_Salary::choose);
    connect(employees_, &KvGrid::rowClicked, this, &Dlg_Salary::employeeClicked);
    connect(remove_, &QPushButton::clicked, this, &Dlg_Salary::removeRow);
    connect(export_, &QPushButton::clicked, this, &Dlg_Salary::exportList);
    connect(settle_, &QPushButton::clicked, this, &Dlg_Salary::settle);
    for (QRadioButton* r : {showPending_, showSettled_, showHistory_})
        connect(r, &QRadioButton::toggled, this, &Dlg_Salary::showLowerList);
    showLowerList();
}

// "选择": one statement lists the employees with the sums of their pending work.
void Dlg_Salary::choose()
{
    const QString start = start_->text();
    const QString end = end_->text();
    if (start.isEmpty() || end.isEmpty()) {
        prompt().message(QStringLiteral("请输入要选择的时间段"), kError);
        return;
    }
    period_ = {start, end};
    employees_->DeleteAllItems();
    work_.clear();
    // Every employee, however many: those with pending work must all be listed to be paid.
    const Rows read = g_sqlTool.Read(financeq::employees(g_sqlTool, start, end, inactive_->isChecked()));
    if (!prompt().report(read))
        return;
    for (const Row& r : read) {
        finance::PendingWork w;
        w.amount = r.toDouble(5);
        w.valued = r.toInt(6);
        w.rows = r.toInt(7);
        if (!w.any() && onlyPending_->isChecked())
            continue;
        employees_->AppendItem({r.text(0), r.text(1), r.text(2), r.text(3), money(r.toDouble(4)),
                                w.any() ? money(w.amount) : QStringLiteral("0")});
        work_.insert(r.toId(0), w);
    }
    if (employees_->GetItemCount() == 0) {
        prompt().message(QStringLiteral("没有符合条件的数据"), kNotice);
        return;
    }
    for (QPushButton* b : {remove_, export_, settle_})
        b->setEnabled(true);
}

void Dlg_Salary::employeeClicked(int row)
{
    const quint64 member = row < 0 ? 0 : convert::toId(employees_->GetItemText(row, Id));
    if (member == 0)
        return;
    showMember(member);
}

void Dlg_Salary::showMember(quint64 member)
{
    member_ = member;
    if (!prompt().report(settled_->Fill(g_sqlTool, financeq::memberWork(g_sqlTool, member, true))))
        return;
    if (!prompt().report(pending_->Fill(g_sqlTool, financeq::memberWork(g_sqlTool, member, false))))
        return;
    prompt().report(history_->Fill(g_sqlTool, financeq::salaryHistory(g_sqlTool, member)));
}

void Dlg_Salary::showLowerList()
{
    pending_->setVisible(showPending_->isChecked());
    settled_->setVisible(showSettled_->isChecked());
    history_->setVisible(showHistory_->isChecked());
}

void Dlg_Salary::removeRow()
{
    const int row = employees_->GetSelectedRow();
    if (row < 0)
        return;
    if (!prompt().confirm(QStringLiteral("将这一行记录从表格中移除吗？"), kNotice))
        return;
    work_.remove(convert::toId(employees_->GetItemText(row, Id)));
    employees_->DeleteItem(row);
}

void Dlg_Salary::exportList()
{
    using K = exporting::Kind;
    const ListModel& list = employees_->rows();
    exporting::reportExport(exporting::exportList(
        this, list, exporting::Layout::ListComma, employees_->accessibleName(),
        exporting::columnsOf(list, {K::Integer, K::Text, K::Text, K::Text, K::Money, K::Money})));
}

void Dlg_Salary::showAmount(int row, const finance::PendingWork& work)
{
    employees_->SetItemText(row, Amount, work.any() ? money(work.amount) : QStringLiteral("0"));
    work_.insert(convert::toId(employees_->GetItemText(row, Id)), work);
}

// "结算": each employee in a transaction of his own, paid what the list shows. Work that
// changed since 选择 is shown and settled only when the user agrees to the new amount. The end
// tells whether everyone listed was paid.
void Dlg_Salary::settle()
{
    if (!prompt().confirm(QStringLiteral("结算从%1到%2期间内列表中所有员工的任务，确定吗？")
                              .arg(period_.start, period_.end),
                          kNotice))
        return;
    int row = 0;
    int paid = 0;
    bool stopped = false;
    while (row < employees_->GetItemCount()) {
        const quint64 member = convert::toId(employees_->GetItemText(row, Id));
        const QString who = QStringLiteral("%1（%2）").arg(member).arg(employees_->GetItemText(row, Name));
        const finance::PendingWork expected = work_.value(member);
        finance::PendingWork found;
        const Outcome r = finance::settle(g_sqlTool, member, period_, expected, &found);
        if (r.ok() || r.kind() == Outcome::Kind::Cancelled) {
            paid += r.ok() ? 1 : 0;
            work_.remove(member);
            employees_->DeleteItem(row);
            continue;
        }
        if (r.isTaken() && found.sameAs(expected)) {
            // The connection broke while COMMIT was answered: he may or may not be paid. He stays
            // listed, and nobody more is paid until the list is chosen again.
            prompt().message(QStringLiteral("员工%1：%2").arg(who, r.text()), r.caption());
            stopped = true;
            break;
        }
        if (r.isTaken() && found.rows == 0) {
            // Another desk paid him meanwhile.
            prompt().message(QStringLiteral("员工%1在这一期间已没有待结任务，可能已由他人结算").arg(who),
                             kNotice);
            work_.remove(member);
            employees_->DeleteItem(row);
            continue;
        }
        if (r.isTaken()) {
            const QString before = employees_->GetItemText(row, Amount);
            showAmount(row, found);
            if (prompt().confirm(QStringLiteral("员工%1的待结任务在选择之后有了变化，本次累计由%2变为%3，"
                                                "按新的金额结算吗？")
                                     .arg(who, before, employees_->GetItemText(row, Amount)),
                                 kNotice))
                continue;  // the same row again, expecting what is there now
            ++row;
            continue;
        }
        if (r.kind() == Outcome::Kind::Failed) {
            // Stop here: the employees above are paid, he and those below are as they were.
            prompt().report(r);
            stopped = true;
            break;
        }
        prompt().message(QStringLiteral("%1：%2").arg(who, r.text()), r.caption());
        ++row;
    }
    if (member_ != 0)
        showMember(member_);
    if (stopped)
        return;
    const int left = employees_->GetItemCount();
    prompt().message(
        left == 0 ? QStringLiteral("结算完毕")
                  : QStringLiteral("已结算%1名员工，另有%2名员工没有结算，仍留在列表中").arg(paid).arg(left),
        kNotice);
}
