#include "dialogs/admin/Dlg_Inquiry.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "parts/Switches.h"
#include "parts/TimeCondition.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");

// The fragments of each time column: after, before, within.
struct TimeColumn {
    const char* caption;
    const char* name;
    const char* after;
    const char* before;
    const char* within;
};
constexpr TimeColumn kTimeColumns[] = {
    {"查询接货时间", "receivedRadio", "%s.接货时间>'%s'", "%s.接货时间<'%s'",
     "%s.接货时间>'%s' and %s.接货时间<'%s'"},
    {"查询激活时间", "activatedRadio", "%s.激活时间>'%s'", "%s.激活时间<'%s'",
     "%s.激活时间>'%s' and %s.激活时间<'%s'"},
    {"查询结讫时间", "closedRadio", "%s.结讫时间>'%s'", "%s.结讫时间<'%s'",
     "%s.结讫时间>'%s' and %s.结讫时间<'%s'"},
};

QComboBox* combo(const char* name, const QString& caption, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setAccessibleName(caption);
    c->setMinimumContentsLength(10);
    return c;
}

}  // namespace

Dlg_Inquiry::Dlg_Inquiry(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Inquiry"));
    setWindowTitle(QStringLiteral("Inquiry"));

    client_ = makeCheckBox(QStringLiteral("选择货物客户"), "clientCheck", this);
    clients_ = combo("clientCombo", client_->text(), this);
    nature_ = makeCheckBox(QStringLiteral("选择货物属性"), "natureCheck", this);
    natures_ = combo("natureCombo", nature_->text(), this);
    withWaiting_ = makeCheckBox(QStringLiteral("包括未激活的货单"), "withWaitingCheck", this);
    withClosed_ = makeCheckBox(QStringLiteral("包括已结讫的货单"), "withClosedCheck", this);
    time_ = makeCheckBox(QStringLiteral("选择货物时间"), "timeCheck", this);
    timeKinds_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        kinds_[i] = new QRadioButton(QString::fromUtf8(kTimeColumns[i].caption), this);
        kinds_[i]->setObjectName(QString::fromLatin1(kTimeColumns[i].name));
        timeKinds_->addButton(kinds_[i], i);
    }
    // "Before" compares with the left pair, "after" with the right one.
    range_ = new TimeCondition(QString(), QStringLiteral("range"), TimeCondition::Second,
                               TimeCondition::First, this,
                               TimeCaptions{QStringLiteral("在时间之后"), QStringLiteral("在时间之前"),
                                            QStringLiteral("在时间之内")});
    auto* queryButton = makeButton(QStringLiteral("查询"), "queryButton", this);
    auto* okButton = makeButton(QStringLiteral("确定"), "okButton", this);
    auto* cancelButton = makeButton(QStringLiteral("取消"), "cancelButton", this);
    okButton->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(client_, 0, 0);
    grid->addWidget(clients_, 0, 1);
    grid->addWidget(nature_, 1, 0);
    grid->addWidget(natures_, 1, 1);
    grid->addWidget(withWaiting_, 2, 0);
    grid->addWidget(withClosed_, 2, 1);
    auto* kindsRow = new QHBoxLayout;
    for (QRadioButton* r : kinds_)
        kindsRow->addWidget(r);
    kindsRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(queryButton);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(time_);
    layout->addLayout(kindsRow);
    layout->addWidget(range_);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Customer names need not be unique: each entry carries its customer's number.
    const Rows clients = g_sqlTool.Read(adminq::clientNames(g_sqlTool));
    prompt().report(clients);
    for (const Row& r : clients)
        if (!r.isNull(1))
            clients_->addItem(r.text(1), r.text(0));
    FillCombo(g_sqlTool, *natures_, adminq::choices(g_sqlTool, adminq::Choice::Natures));
    clients_->setCurrentIndex(-1);
    natures_->setCurrentIndex(-1);

    bindSwitch(client_, {clients_});
    bindSwitch(nature_, {natures_});
    connect(time_, &QCheckBox::toggled, this, &Dlg_Inquiry::timeSwitched);
    timeSwitched(false);
    connect(queryButton, &QPushButton::clicked, this, &Dlg_Inquiry::query);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void Dlg_Inquiry::timeSwitched(bool on)
{
    // Unticked, the choices go too, so that a later tick starts from none.
    if (!on) {
        for (QButtonGroup* group : {timeKinds_, range_->radio(TimeCondition::Range::After)->group()}) {
            group->setExclusive(false);
            for (QAbstractButton* b : group->buttons())
                b->setChecked(false);
            group->setExclusive(true);
        }
    }
    for (QRadioButton* r : kinds_)
        r->setEnabled(on);
    range_->setActive(on);
}

bool Dlg_Inquiry::build(mySQLTool& db)
{
    const char* P = tables::product;
    Conditions where(db);
    if (client_->isChecked()) {
        if (clients_->currentIndex() < 0 || clients_->currentText().isEmpty()) {
            prompt().message(QStringLiteral("请选择客户名称"), kError);
            return false;
        }
        where.add("%s.客户号=%I64u", P, clients_->currentData().toString().toULongLong());
    }
    if (nature_->isChecked()) {
        if (natures_->currentText().isEmpty()) {
            prompt().message(QStringLiteral("请选择货物性质"), kError);
            return false;
        }
        where.add("%s.货物性质='%s'", P, natures_->currentText());
    }
    if (time_->isChecked()) {
        const int kind = timeKinds_->checkedId();
        if (kind < 0) {
            prompt().message(QStringLiteral("请选择一项查询的时间类型"), kError);
            return false;
        }
        const TimeColumn& c = kTimeColumns[kind];
        if (!range_->append(where, P, c.after, c.before, c.within)) {
            prompt().message(QStringLiteral("请选择一项查询的时间分段"), kError);
            return false;
        }
    }
    if (!withWaiting_->isChecked())
        where.add("%s.激活=%d", P, 1);
    if (!withClosed_->isChecked())
        where.add("%s.结讫=%d", P, 0);
    const Statement built = where.after("where ");
    if (!built.ok()) {
        prompt().message(built.error(), kError);
        return false;
    }
    clause_ = built;
    return true;
}

void Dlg_Inquiry::query()
{
    if (build(g_sqlTool))
        accept();
}
