#include "Shots.h"

#include "dialogs/quality/Dlg_Quality.h"
#include "grid/KvGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A loss being entered: the customer of the first open record chosen, the form filled in.
void enterLoss(QWidget* w)
{
    auto* records = w->findChild<KvGrid*>(QStringLiteral("entryList"));
    auto* clients = w->findChild<KvGrid*>(QStringLiteral("clientList"));
    if (!records || !clients || clients->GetItemCount() == 0)
        return;
    int client = 0;
    for (int r = 0; records->GetItemCount() > 0 && r < clients->GetItemCount(); ++r)
        if (clients->GetItemText(r, 1) == records->GetItemText(0, 1))
            client = r;
    clients->SelectRow(client);
    Q_EMIT clients->rowClicked(client);
    if (auto* count = w->findChild<QLineEdit*>(QStringLiteral("countEdit")))
        count->setText(QStringLiteral("3"));
    for (const char* name : {"responsibleCombo", "recorderCombo"})
        if (auto* combo = w->findChild<QComboBox*>(QString::fromLatin1(name)))
            combo->setCurrentIndex(combo->count() > 3 ? 3 : 0);
    if (auto* reason = w->findChild<QPlainTextEdit*>(QStringLiteral("reasonEdit")))
        reason->setPlainText(QStringLiteral("喷砂过度，裤脚磨穿"));
    if (auto* remark = w->findChild<QPlainTextEdit*>(QStringLiteral("remarkEdit")))
        remark->setPlainText(QStringLiteral("已与客户沟通，按损耗单价赔付"));
}

// Edit mode over every record, handled ones too, one of them chosen.
void editRecords(QWidget* w)
{
    if (auto* all = w->findChild<QCheckBox*>(QStringLiteral("showHandledCheck")))
        all->setChecked(true);
    if (auto* query = w->findChild<QPushButton*>(QStringLiteral("queryButton")))
        query->click();
    if (auto* edit = w->findChild<QRadioButton*>(QStringLiteral("editModeRadio")))
        edit->click();
    if (auto* records = w->findChild<KvGrid*>(QStringLiteral("editList")))
        records->SelectRow(1);
}

ShotRegistration entry{Shot{QStringLiteral("quality"), [] { return new Dlg_Quality; }, enterLoss}};
ShotRegistration edit{Shot{QStringLiteral("quality_edit"), [] { return new Dlg_Quality; }, editRecords}};

}  // namespace
