#include "dialogs/intake/MethodPanel.h"

#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/intake/IntakeQueries.h"
#include "ui/Controls.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

MethodPanel::MethodPanel(QWidget* parent) : QGroupBox(QStringLiteral("洗涤方法"), parent)
{
    setObjectName(QStringLiteral("methodPanel"));
    auto* top = new QGridLayout;
    category_ = makeCombo(QStringLiteral("选择工艺分类"), "categoryCombo", this);
    placeField(top, 0, 0, category_);
    category_->setMinimumContentsLength(6);

    technologies_ = new QListWidget(this);
    technologies_->setObjectName(QStringLiteral("technologyList"));
    technologies_->setAccessibleName(QStringLiteral("工艺列表"));
    sequence_ = new QListWidget(this);
    sequence_->setObjectName(QStringLiteral("sequenceList"));
    sequence_->setAccessibleName(QStringLiteral("洗涤方法排序"));
    auto* addButton = makeButton(QStringLiteral("增加"), "addTechnologyButton", this);
    auto* removeButton = makeButton(QStringLiteral("删除"), "removeTechnologyButton", this);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    auto* sequenceLabel = new QLabel(QStringLiteral("洗涤方法排序"), this);
    sequenceLabel->setBuddy(sequence_);
    auto* sequenceColumn = new QVBoxLayout;
    sequenceColumn->addWidget(sequenceLabel);
    sequenceColumn->addWidget(sequence_, 1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(technologies_, 1);
    lists->addLayout(buttons);
    lists->addLayout(sequenceColumn, 1);

    editMethod_ = makeCheckBox(QStringLiteral("编辑洗涤方法"), "editMethodCheck", this);
    method_ = makeEdit(QStringLiteral("洗涤方法"), "methodEdit", this);
    bindLock(editMethod_, method_);
    activate_ = makeCheckBox(QStringLiteral("激活货单"), "activateCheck", this);
    submit_ = makeButton(QStringLiteral("提交货单"), "submitButton", this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(activate_);
    bottom->addStretch(1);
    bottom->addWidget(submit_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists, 1);
    layout->addWidget(editMethod_);
    layout->addWidget(method_);
    layout->addLayout(bottom);

    connect(category_, &QComboBox::currentTextChanged, this, &MethodPanel::categoryChanged);
    connect(addButton, &QPushButton::clicked, this, &MethodPanel::add);
    connect(removeButton, &QPushButton::clicked, this, &MethodPanel::remove);
}

void MethodPanel::fillCategories(const Rows& categories)
{
    // Filling passes through the first category; only a choice fills the technologies.
    const QSignalBlocker quiet(category_);
    FillCombo(*category_, categories);
}

QStringList MethodPanel::sequence() const
{
    QStringList out;
    for (int i = 0; i < sequence_->count(); ++i)
        out.append(sequence_->item(i)->text());
    return out;
}

void MethodPanel::clearSequence()
{
    sequence_->clear();
}

QString MethodPanel::method() const
{
    return method_->text();
}

void MethodPanel::compose(const QString& method)
{
    if (!editMethod_->isChecked())
        method_->setText(method);
}

void MethodPanel::setMethod(const QString& method)
{
    method_->setText(method);
}

void MethodPanel::lock()
{
    method_->setReadOnly(true);
    activate_->setChecked(true);
}

void MethodPanel::reset()
{
    method_->clear();
    sequence_->clear();
    editMethod_->setChecked(false);
    activate_->setChecked(true);
}

void MethodPanel::categoryChanged(const QString& category)
{
    if (!category.isEmpty())
        FillListBox(g_sqlTool, *technologies_, intakeq::technologies(g_sqlTool, category));
}

void MethodPanel::add()
{
    QListWidgetItem* chosen = technologies_->currentItem();
    if (!chosen || !chosen->isSelected())
        return;
    const QString name = chosen->text();
    for (int i = 0; i < sequence_->count(); ++i)
        if (sequence_->item(i)->text() == name)
            return;
    sequence_->addItem(name);
    Q_EMIT sequenceChanged();
}

void MethodPanel::remove()
{
    if (sequence_->count() == 0)
        return;
    QListWidgetItem* chosen = sequence_->currentItem();
    const int row = chosen && chosen->isSelected() ? sequence_->row(chosen) : sequence_->count() - 1;
    delete sequence_->takeItem(row);
    Q_EMIT sequenceChanged();
}
