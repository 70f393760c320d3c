#include "dialogs/quality/Dlg_Quality.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/quality/LossForm.h"
#include "dialogs/quality/QualityQueries.h"
#include "dialogs/quality/RecordLists.h"
#include "dialogs/quality/ops/LossRecords.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");
const QString kPending = QStringLiteral("您编辑了现有的记录，请先保存或放弃编辑结果");

}  // namespace

Dlg_Quality::Dlg_Quality(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Quality"));
    setWindowTitle(QStringLiteral("Quality"));

    lists_ = new RecordLists(this);

    // Dates without a time, compared with the stored times as text: "before" a day ends where
    // it begins, "after" a day takes that day in, "within" takes its first day but not its last.
    auto* dates = new TimeCondition(QString(), QStringLiteral("qualityDates"), TimeCondition::Second,
                                    TimeCondition::First, this);
    dates->setDatesOnly();
    auto* showHandled = makeCheckBox(QStringLiteral("显示已处理记录"), "showHandledCheck", this);
    conditions_.time(dates, "", [](qualityq::Filter& f, const Moments& m) { f.dates = m; })
        .flag(showHandled, [](qualityq::Filter& f, bool on) { f.showHandled = on; });
    auto* queryButton = makeButton(QStringLiteral("查询"), "queryButton", this);
    auto* markSelected = makeButton(QStringLiteral("设置所选记录为已处理"), "markSelectedButton", this);
    auto* markAll = makeButton(QStringLiteral("设置列表中所有记录为已处理"), "markAllButton", this);
    auto* exportButton = makeButton(QStringLiteral("导出"), "exportButton", this);

    entryMode_ = makeRadio(QStringLiteral("录入模式"), "entryModeRadio", this);
    editMode_ = makeRadio(QStringLiteral("编辑模式"), "editModeRadio", this);
    auto* modes = new QButtonGroup(this);
    modes->addButton(entryMode_);
    modes->addButton(editMode_);
    save_ = makeButton(QStringLiteral("保存编辑"), "saveEditsButton", this);
    discard_ = makeButton(QStringLiteral("放弃编辑"), "discardEditsButton", this);

    auto* queryRow = new QHBoxLayout;
    queryRow->addWidget(dates);
    queryRow->addWidget(showHandled, 0, Qt::AlignBottom);
    queryRow->addWidget(queryButton, 0, Qt::AlignBottom);
    queryRow->addStretch(1);
    auto* actions = new QGridLayout;
    actions->addWidget(markSelected, 0, 0);
    actions->addWidget(markAll, 0, 1);
    actions->addWidget(exportButton, 0, 2);
    actions->addWidget(entryMode_, 1, 0);
    actions->addWidget(editMode_, 1, 1);
    auto* editButtons = new QHBoxLayout;
    editButtons->addWidget(save_);
    editButtons->addWidget(discard_);
    actions->addLayout(editButtons, 1, 2);
    queryRow->addLayout(actions);

    form_ = new LossForm(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lists_, 5);
    layout->addLayout(queryRow);
    layout->addWidget(form_, 4);
    resize(1180, 820);

    connect(form_->enterButton(), &QPushButton::clicked, this, &Dlg_Quality::enter);
    connect(queryButton, &QPushButton::clicked, this, &Dlg_Quality::query);
    connect(markSelected, &QPushButton::clicked, this, &Dlg_Quality::markSelected);
    connect(markAll, &QPushButton::clicked, this, &Dlg_Quality::markAll);
    connect(exportButton, &QPushButton::clicked, this, &Dlg_Quality::exportList);
    connect(entryMode_, &QRadioButton::clicked, this, &Dlg_Quality::toEntryMode);
    connect(editMode_, &QRadioButton::clicked, this, &Dlg_Quality::toEditMode);
    connect(save_, &QPushButton::clicked, this, &Dlg_Quality::saveEdits);
    connect(discard_, &QPushButton::clicked, this, &Dlg_Quality::discardEdits);

    // Opening: the column 处理 first, since every list reads it.
    entryMode_->setChecked(true);
    applyMode(false);
    if (!prompt().report(quality::ensureHandledColumn(g_sqlTool)))
        return;
    filter_ = *conditions_.read();
    // The lists, the form and the recorders in one exchange.
    const QList<Statement> formReads = LossForm::reads();
    const Batch read = g_sqlTool.ReadAll(RecordLists::reads(g_sqlTool, filter_) + formReads +
                                         QList<Statement>{qualityq::allRecorders(g_sqlTool)});
    lists_->show(read.rows(0), read.rows(1));
    form_->fill(read, 2);
    const Rows recorders = read.rows(2 + static_cast<int>(formReads.size()));
    if (prompt().report(recorders)) {
        QStringList names;
        for (const Row& r : recorders)
            names.append(r.text(0));
        lists_->setRecorders(names);
    }
}

bool Dlg_Quality::reload()
{
    return lists_->load(g_sqlTool, filter_);
}

bool Dlg_Quality::editsSettled()
{
    if (!lists_->pending())
        return true;
    prompt().message(kPending, QString());
    return false;
}

void Dlg_Quality::enter()
{
    if (!editsSettled())
        return;
    if (form_->client() == 0 || form_->clientName().isEmpty()) {
        prompt().message(QStringLiteral("请选择客户"), kError);
        return;
    }
    if (form_->count().isEmpty()) {
        prompt().message(QStringLiteral("请输入数量"), kError);
        return;
    }
    if (form_->responsible().isEmpty()) {
        prompt().message(QStringLiteral("请选择责任人"), kError);
        return;
    }
    if (form_->recorder().isEmpty()) {
        prompt().message(QStringLiteral("请选择记录人"), kError);
        return;
    }
    if (!quality::isCount(form_->count())) {
        prompt().message(quality::kBadCount, kError);
        return;
    }
    quality::Loss loss;
    loss.client = form_->client();
    loss.count = convert::toInt(form_->count());
    loss.reason = form_->reason();
    loss.responsible = form_->responsible();
    loss.recorder = form_->recorder();
    loss.account = g_account;
    loss.remark = form_->remark();
    if (!prompt().report(quality::enterLoss(g_sqlTool, loss)))
        return;
    prompt().message(QStringLiteral("记录完毕"), kNotice);
    reload();
}

void Dlg_Quality::query()
{
    if (!editsSettled())
        return;
    filter_ = *conditions_.read();
    reload();
}

void Dlg_Quality::markSelected()
{
    KvGrid* list = lists_->shown();
    const int row = list->GetSelectedRow();
    if (row < 0 || !editsSettled())
        return;
    const QString serial = list->GetItemText(row, 0);
    if (!prompt().confirm(QStringLiteral("确定将序列号%1的记录设置为已处理吗？").arg(serial), kNotice))
        return;
    if (prompt().report(quality::markHandled(g_sqlTool, convert::toId(serial))))
        reload();
}

void Dlg_Quality::markAll()
{
    if (lists_->shown()->GetItemCount() == 0 || !editsSettled())
        return;
    if (!prompt().confirm(QStringLiteral("确定将列表中所有记录设置为已处理吗？"), kNotice))
        return;
    if (prompt().report(quality::markAllHandled(g_sqlTool, lists_->serials())))
        reload();
}

void Dlg_Quality::exportList()
{
    // Every record found, also those the list has no room for; what is stored, so edits first.
    if (!editsSettled())
        return;
    using K = exporting::Kind;
    exporting::Export e;
    e.document.sheet = QStringLiteral("损耗登记");
    e.document.tables.append(exporting::Table{
        exporting::columnsOf(lists_->shown()->rows(), {K::Integer, K::Text, K::Moment, K::Integer, K::Text,
                                                       K::Text, K::Text, K::Text, K::Integer}),
        exporting::streamedPages(g_sqlTool, qualityq::allRecords(g_sqlTool, filter_)), lists_->found()});
    exporting::reportExport(exporting::run(this, e));
}

void Dlg_Quality::toEntryMode()
{
    if (!lists_->editMode())
        return;
    if (!editsSettled()) {
        editMode_->setChecked(true);
        return;
    }
    applyMode(false);
}

void Dlg_Quality::toEditMode()
{
    if (!lists_->editMode())
        applyMode(true);
}

void Dlg_Quality::applyMode(bool edit)
{
    lists_->setEditMode(edit);
    form_->setEntryMode(!edit);
    save_->setEnabled(edit);
    discard_->setEnabled(edit);
    discard_->setVisible(edit);
}

void Dlg_Quality::saveEdits()
{
    QVector<quality::Edit> edits;
    for (const int row : lists_->changedRows()) {
        const quality::Edit e = lists_->edit(row);
        const QString why = quality::checkFields(e.now);
        if (!why.isEmpty()) {
            lists_->editList()->SelectRow(row);
            prompt().message(why, kError);
            return;
        }
        edits.append(e);
    }
    // Refused or taken: the edits stay on the list, to be mended or discarded.
    if (prompt().report(quality::saveEdits(g_sqlTool, edits)))
        reload();
}

void Dlg_Quality::discardEdits()
{
    if (lists_->pending() && !prompt().confirm(QStringLiteral("确定放弃编辑结果吗？"), kNotice))
        return;
    reload();
}

void Dlg_Quality::reject()
{
    if (lists_->pending() &&
        !prompt().confirm(QStringLiteral("您编辑了现有的记录，确定放弃编辑结果并关闭吗？"), kNotice))
        return;
    QDialog::reject();
}
