#include "Shots.h"

#include "dialogs/materials/Dlg_RawIn.h"
#include "dialogs/materials/Dlg_RawInquiry.h"
#include "dialogs/materials/Dlg_RawOut.h"
#include "grid/KvGrid.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

void selectFirst(QWidget* w, const char* list)
{
    if (auto* g = w->findChild<KvGrid*>(QString::fromLatin1(list)); g && g->GetItemCount() > 0)
        g->SelectRow(0);
}

void typeInto(QWidget* w, const char* edit, const QString& text)
{
    if (auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(edit)))
        e->setText(text);
}

// A purchase about to be registered: material, supplier and buyer chosen, the amount worked out.
void preparePurchase(QWidget* w)
{
    for (const char* list : {"materialList", "supplierList", "buyerList"})
        selectFirst(w, list);
    typeInto(w, "quantityEdit", QStringLiteral("25"));
    typeInto(w, "priceEdit", QStringLiteral("26.5"));
}

void prepareIssue(QWidget* w)
{
    for (const char* list : {"materialList", "memberList", "clientList"})
        selectFirst(w, list);
    if (auto* team = w->findChild<QComboBox*>(QStringLiteral("teamCombo")))
        SelectComboText(*team, QStringLiteral("洗水组"));
    typeInto(w, "quantityEdit", QStringLiteral("2.5"));
}

// Every issue of the demo's weeks, with the summaries per material, customer and team.
void queryIssues(QWidget* w)
{
    if (auto* mode = w->findChild<QRadioButton*>(QStringLiteral("issueMode")))
        mode->click();
    if (auto* query = w->findChild<QPushButton*>(QStringLiteral("queryButton")))
        query->click();
}

ShotRegistration rawIn{Shot{QStringLiteral("raw_in"), [] { return new Dlg_RawIn; }, preparePurchase}};
ShotRegistration rawOut{Shot{QStringLiteral("raw_out"), [] { return new Dlg_RawOut; }, prepareIssue}};
ShotRegistration rawInquiry{
    Shot{QStringLiteral("raw_inquiry"), [] { return new Dlg_RawInquiry; }, queryIssues}};

}  // namespace
