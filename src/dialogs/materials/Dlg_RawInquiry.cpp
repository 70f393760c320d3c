#include "dialogs/materials/Dlg_RawInquiry.h"

#include "db/mySQLTool.h"
#include "dialogs/materials/MaterialLists.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/RawConditions.h"
#include "dialogs/materials/ops/RawSummaries.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace materials;

namespace {

const QString kError = QStringLiteral("错误");

// The inquiry's exports say nothing when written; a file that could not be written or a
// statement that failed is still told, as every failure of this screen, with "错误".
void reportFailure(const Outcome& r)
{
    if (r.kind() == Outcome::Kind::Refused || r.kind() == Outcome::Kind::Failed)
        prompt().report(r, kError);
}

}  // namespace

Dlg_RawInquiry::Dlg_RawInquiry(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_RawInquiry"));
    setWindowTitle(QStringLiteral("原料查询"));

    conditions_ = new RawConditions(this);
    purchaseMode_ = makeRadio(QStringLiteral("查询采购"), "purchaseMode", this);
    issueMode_ = makeRadio(QStringLiteral("查询领料"), "issueMode", this);
    auto* search = makeButton(QStringLiteral("查询"), "queryButton", this);
    auto* modes = new QHBoxLayout;
    modes->addWidget(purchaseMode_);
    modes->addWidget(issueMode_);
    modes->addStretch(1);
    modes->addWidget(search);

    purchases_ = new PagedList(g_sqlTool, QStringLiteral("purchase"), this);
    purchases_->list()->InsertColumns({{"序列号", 60},
                                       {"名称", 80},
                                       {"供应商", 70},
                                       {"数量", 60},
                                       {"单价", 60},
                                       {"金额", 60},
                                       {"时间", 140},
                                       {"采购人", 70},
                                       {"经办人", 70}});
    issues_ = new PagedList(g_sqlTool, QStringLiteral("issue"), this);
    issues_->list()->InsertColumns({{"序列号", 60},
                                    {"名称", 80},
                                    {"客户", 70},
                                    {"数量", 60},
                                    {"时间", 140},
                                    {"班组", 70},
                                    {"领料人", 70},
                                    {"经办人", 70}});
    for (PagedList* p : {purchases_, issues_})
        p->list()->setAccessibleName(QStringLiteral("查询结果"));
    exportResult_ = makeButton(QStringLiteral("导出"), "resultExportButton", this);
    auto* resultRow = new QHBoxLayout;
    resultRow->addStretch(1);
    resultRow->addWidget(exportResult_);

    materialSums_ =
        makeSummary(QStringLiteral("原料汇总"), "materialSum", {{"名称", 100}, {"数量", 60}, {"金额", 60}});
    supplierSums_ = makeSummary(QStringLiteral("供应商汇总"), "supplierSum",
                                {{"供应商号", 0}, {"供应商", 130}, {"金额", 90}});
    clientSums_ =
        makeSummary(QStringLiteral("客户汇总"), "clientSum", {{"客户号", 0}, {"客户", 130}, {"金额", 90}});
    teamSums_ = makeSummary(QStringLiteral("班组汇总"), "teamSum", {{"班组名称", 130}, {"金额", 90}});
    auto* sums = new QHBoxLayout;
    for (const Summary* s : {&materialSums_, &supplierSums_, &clientSums_, &teamSums_})
        sums->addWidget(s->box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions_, 3);
    layout->addLayout(modes);
    layout->addWidget(purchases_, 4);
    layout->addWidget(issues_, 4);
    layout->addLayout(resultRow);
    layout->addLayout(sums, 3);
    resize(1280, 900);

    conditions_->fill();
    purchaseMode_->setChecked(true);
    setMode(true);
    connect(purchaseMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMode(true);
    });
    connect(issueMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMode(false);
    });
    connect(search, &QPushButton::clicked, this, &Dlg_RawInquiry::query);
    connect(exportResult_, &QPushButton::clicked, this, &Dlg_RawInquiry::exportResult);
    for (const Summary* s : {&materialSums_, &supplierSums_, &clientSums_, &teamSums_})
        connect(s->exportButton, &QPushButton::clicked, this, [this, s] { exportSummary(*s); });
}

Dlg_RawInquiry::Summary Dlg_RawInquiry::makeSummary(const QString& caption, const char* name,
                                                    GridColumns columns)
{
    auto* box = new QGroupBox(caption, this);
    const QByteArray prefix(name);
    KvGrid* list = makeList(caption, (prefix + "List").constData(), box, columns);
    QPushButton* button = makeButton(QStringLiteral("导出"), (prefix + "Export").constData(), box);
    button->setAccessibleName(caption + QStringLiteral("导出"));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list, 1);
    layout->addWidget(button, 0, Qt::AlignRight);
    return Summary{box, list, button};
}

void Dlg_RawInquiry::setMode(bool purchases)
{
    conditions_->setMode(purchases ? RawConditions::Mode::Purchases : RawConditions::Mode::Issues);
    purchases_->setVisible(purchases);
    issues_->setVisible(!purchases);
    supplierSums_.box->setVisible(purchases);
    clientSums_.box->setVisible(!purchases);
    // The other mode's query is forgotten: paging and exports need a new 查询.
    forget();
}

void Dlg_RawInquiry::forget()
{
    saved_ = Statement();
    purchases_->clear();
    issues_->clear();
    exportResult_->setEnabled(false);
    for (const Summary* s : {&materialSums_, &supplierSums_, &clientSums_, &teamSums_}) {
        s->list->DeleteAllItems();
        s->exportButton->setEnabled(false);
    }
}

void Dlg_RawInquiry::query()
{
    const std::optional<materialq::Filter> filter = conditions_->read();
    if (!filter)
        return;  // the condition's message was shown; the last query stays on screen
    const bool purchases = conditions_->mode() == RawConditions::Mode::Purchases;
    const Statement rows =
        purchases ? materialq::purchaseRows(g_sqlTool, *filter) : materialq::issueRows(g_sqlTool, *filter);
    // A new query replaces everything of the last one, also when it finds nothing.
    forget();
    // The totals first: they count the rows for the paged list in the same pass.
    const Rows sums = g_sqlTool.Read(purchases ? materialq::purchaseSums(g_sqlTool, *filter)
                                               : materialq::issueSums(g_sqlTool, *filter));
    if (!sums) {
        reportFailure(sums.failed());
        return;
    }
    const RawSummaries summaries = purchases ? RawSummaries::ofPurchases(sums) : RawSummaries::ofIssues(sums);
    PagedList* pager = purchases ? purchases_ : issues_;
    if (!pager->run(rows, summaries.rows))
        return;
    saved_ = rows;
    if (summaries.rows == 0)
        return;
    exportResult_->setEnabled(true);
    showSummaries(summaries);
}

void Dlg_RawInquiry::showSummaries(const RawSummaries& sums)
{
    const auto fill = [](const Summary& s, const QVector<QStringList>& rows) {
        s.list->AppendItems(rows.mid(0, kListCap));
        s.exportButton->setEnabled(true);
    };
    const bool purchases = conditions_->mode() == RawConditions::Mode::Purchases;
    fill(materialSums_, sums.materials);
    fill(purchases ? supplierSums_ : clientSums_, sums.partners);
    if (!purchases)
        fill(teamSums_, sums.teams);
}

void Dlg_RawInquiry::exportResult()
{
    if (saved_.empty())
        return;
    using K = exporting::Kind;
    const bool purchases = conditions_->mode() == RawConditions::Mode::Purchases;
    const PagedList* pager = purchases ? purchases_ : issues_;
    const exporting::Columns columns =
        purchases ? exporting::columnsOf(pager->list()->rows(), {K::Integer, K::Text, K::Text, K::Number,
                                                                 K::Money, K::Money, K::Moment})
                  : exporting::columnsOf(pager->list()->rows(),
                                         {K::Integer, K::Text, K::Text, K::Number, K::Moment});
    reportFailure(exporting::exportResult(this, g_sqlTool, saved_,
                                          purchases ? QStringLiteral("采购查询") : QStringLiteral("领料查询"),
                                          columns, pager->total()));
}

void Dlg_RawInquiry::exportSummary(const Summary& s)
{
    if (s.list->GetItemCount() == 0)
        return;
    const ListModel& list = s.list->rows();
    exporting::Columns columns = exporting::columnsOf(list, {});
    for (exporting::Column& c : columns)
        c.kind = c.caption == QStringLiteral("数量")        ? exporting::Kind::Number
                 : c.caption == QStringLiteral("金额")      ? exporting::Kind::Money
                 : c.caption.endsWith(QStringLiteral("号")) ? exporting::Kind::Integer
                                                            : exporting::Kind::Text;
    reportFailure(exporting::exportList(this, list, exporting::Layout::ListSemicolon,
                                        static_cast<QGroupBox*>(s.box)->title(), columns));
}
