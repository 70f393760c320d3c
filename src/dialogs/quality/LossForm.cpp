#include "dialogs/quality/LossForm.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/quality/QualityQueries.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LossForm::LossForm(QWidget* parent) : QGroupBox(QStringLiteral("损耗登记"), parent)
{
    setObjectName(QStringLiteral("lossForm"));

    clients_ = makeList(QStringLiteral("客户列表"), "clientList", this,
                        {{"客户号", 0}, {"名称", 70}, {"说明", 100}});
    clientName_ = makeEdit(QStringLiteral("客户名称"), "clientNameBox", this);
    clientName_->setReadOnly(true);
    auto* clientColumn = new QVBoxLayout;
    clientColumn->addWidget(makeCaption(QStringLiteral("客户列表"), clients_, this));
    clientColumn->addWidget(clients_, 1);
    clientColumn->addWidget(clientName_);

    count_ = makeEdit(QStringLiteral("损耗数量"), "countEdit", this);
    responsible_ = makeCombo(QStringLiteral("责任人"), "responsibleCombo", this);
    recorder_ = makeCombo(QStringLiteral("记录人"), "recorderCombo", this);
    for (QComboBox* c : {responsible_, recorder_}) {
        c->setMinimumContentsLength(8);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    reason_ = new QPlainTextEdit(this);
    reason_->setObjectName(QStringLiteral("reasonEdit"));
    remark_ = new QPlainTextEdit(this);
    remark_->setObjectName(QStringLiteral("remarkEdit"));
    for (QPlainTextEdit* e : {reason_, remark_}) {
        e->setTabChangesFocus(true);
        e->setMaximumHeight(70);
    }
    enter_ = makeButton(QStringLiteral("录入"), "enterButton", this);

    auto* fields = new QGridLayout;
    fields->addWidget(makeCaption(QStringLiteral("损耗数量"), count_, this), 0, 0);
    fields->addWidget(count_, 0, 1);
    fields->addWidget(makeCaption(QStringLiteral("责任人"), responsible_, this), 0, 2);
    fields->addWidget(responsible_, 0, 3);
    fields->addWidget(makeCaption(QStringLiteral("记录人"), recorder_, this), 0, 4);
    fields->addWidget(recorder_, 0, 5);
    fields->addWidget(makeCaption(QStringLiteral("原因"), reason_, this), 1, 0, Qt::AlignTop);
    fields->addWidget(reason_, 1, 1, 1, 5);
    fields->addWidget(makeCaption(QStringLiteral("备注"), remark_, this), 2, 0, Qt::AlignTop);
    fields->addWidget(remark_, 2, 1, 1, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(enter_);
    fields->addLayout(buttons, 3, 0, 1, 6);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnStretch(5, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(clientColumn, 2);
    layout->addLayout(fields, 5);

    connect(clients_, &KvGrid::rowClicked, this, &LossForm::clientClicked);
}

QList<Statement> LossForm::reads()
{
    return {qualityq::clients(g_sqlTool), qualityq::recorders(g_sqlTool), qualityq::responsibles(g_sqlTool)};
}

bool LossForm::fill(const Batch& read, int at)
{
    return prompt().report(clients_->Fill(read.rows(at))) && FillCombo(*recorder_, read.rows(at + 1)) &&
           FillCombo(*responsible_, read.rows(at + 2));
}

void LossForm::setEntryMode(bool on)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{enter_, responsible_, recorder_, count_, reason_, remark_, clients_})
        w->setEnabled(on);
}

void LossForm::clientClicked(int row)
{
    // A click beside the rows leaves the customer chosen before.
    if (row < 0)
        return;
    const quint64 client = convert::toId(clients_->GetItemText(row, 0));
    if (client == 0)
        return;
    client_ = client;
    clientName_->setText(clients_->GetItemText(row, 1));
}

QString LossForm::clientName() const
{
    return clientName_->text();
}

QString LossForm::count() const
{
    return count_->text().trimmed();
}

QString LossForm::responsible() const
{
    return responsible_->currentText();
}

QString LossForm::recorder() const
{
    return recorder_->currentText();
}

QString LossForm::reason() const
{
    return reason_->toPlainText();
}

QString LossForm::remark() const
{
    return remark_->toPlainText();
}
