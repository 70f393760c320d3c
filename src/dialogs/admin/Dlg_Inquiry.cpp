#include "dialogs/admin/Dlg_Inquiry.h"

#include "db/mySQLTool.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using F = adminq::OrderFilter;

}  // namespace

Dlg_Inquiry::Dlg_Inquiry(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Inquiry"));
    setWindowTitle(QStringLiteral("Inquiry"));

    const auto combo = [this](QCheckBox* box, const char* name) {
        QComboBox* c = makeCombo(box->text(), name, this);
        c->setMinimumContentsLength(10);
        return c;
    };
    auto* client = makeCheckBox(QStringLiteral("选择货物客户"), "clientCheck", this);
    QComboBox* clients = combo(client, "clientCombo");
    auto* nature = makeCheckBox(QStringLiteral("选择货物属性"), "natureCheck", this);
    QComboBox* natures = combo(nature, "natureCombo");
    auto* withWaiting = makeCheckBox(QStringLiteral("包括未激活的货单"), "withWaitingCheck", this);
    auto* withClosed = makeCheckBox(QStringLiteral("包括已结讫的货单"), "withClosedCheck", this);
    auto* time = makeCheckBox(QStringLiteral("选择货物时间"), "timeCheck", this);
    auto* kinds = new QButtonGroup(this);
    const std::pair<const char*, const char*> kindRadios[] = {{"查询接货时间", "receivedRadio"},
                                                              {"查询激活时间", "activatedRadio"},
                                                              {"查询结讫时间", "closedRadio"}};
    for (const auto& [caption, name] : kindRadios)
        kinds->addButton(makeRadio(QString::fromUtf8(caption), name, this), kinds->buttons().size());
    // "Before" compares with the left pair, "after" with the right one.
    auto* range = new TimeCondition(QString(), QStringLiteral("range"), TimeCondition::Second,
                                    TimeCondition::First, this,
                                    TimeCaptions{QStringLiteral("在时间之后"), QStringLiteral("在时间之前"),
                                                 QStringLiteral("在时间之内")});
    auto* queryButton = makeButton(QStringLiteral("查询"), "queryButton", this);
    auto* okButton = makeButton(QStringLiteral("确定"), "okButton", this);
    auto* cancelButton = makeButton(QStringLiteral("取消"), "cancelButton", this);
    okButton->hide();

    conditions_
        .combo(
            client, clients, "请选择客户名称",
            [clients](F& f, const QString&) { f.client = clients->currentData().toString().toULongLong(); })
        .combo(nature, natures, "请选择货物性质", [](F& f, const QString& v) { f.nature = v; })
        .choice(time, kinds, "请选择一项查询的时间类型", [](F& f, int kind) { f.time = F::Time(kind); })
        .time(range, "请选择一项查询的时间分段", [](F& f, const Moments& m) { f.range = m; })
        .flag(withWaiting, [](F& f, bool on) { f.withWaiting = on; })
        .flag(withClosed, [](F& f, bool on) { f.withClosed = on; });
    // Unticked, the choices go too, so that a later tick starts from none.
    bindChoices(time, kinds);
    connect(time, &QCheckBox::toggled, this, [range](bool on) {
        if (!on)
            range->clearRange();
        range->setActive(on);
    });
    range->setActive(false);

    auto* grid = new QGridLayout;
    grid->addWidget(client, 0, 0);
    grid->addWidget(clients, 0, 1);
    grid->addWidget(nature, 1, 0);
    grid->addWidget(natures, 1, 1);
    grid->addWidget(withWaiting, 2, 0);
    grid->addWidget(withClosed, 2, 1);
    auto* kindsRow = new QHBoxLayout;
    for (QAbstractButton* r : kinds->buttons())
        kindsRow->addWidget(r);
    kindsRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(queryButton);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(time);
    layout->addLayout(kindsRow);
    layout->addWidget(range);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Customer names need not be unique: each entry carries its customer's number.
    const Rows read = g_sqlTool.Read(adminq::clientNames(g_sqlTool));
    prompt().report(read);
    for (const Row& r : read)
        if (!r.isNull(adminq::ClientNames::Name))
            clients->addItem(r.text(adminq::ClientNames::Name), r.text(adminq::ClientNames::Client));
    FillCombo(g_sqlTool, *natures, adminq::choices(g_sqlTool, adminq::Choice::Natures));
    clients->setCurrentIndex(-1);
    natures->setCurrentIndex(-1);

    connect(queryButton, &QPushButton::clicked, this, &Dlg_Inquiry::query);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool Dlg_Inquiry::build(mySQLTool& db)
{
    const std::optional<adminq::OrderFilter> f = conditions_.read();
    if (!f)
        return false;
    // A choice the connection cannot carry is told before the dialog closes.
    const Statement clause = adminq::inquiryClause(db, *f);
    if (!clause.ok()) {
        refuseCondition(clause.error());
        return false;
    }
    filter_ = *f;
    return true;
}

void Dlg_Inquiry::query()
{
    if (build(g_sqlTool))
        accept();
}
