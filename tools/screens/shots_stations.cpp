#include "Shots.h"

#include "dialogs/stations/Dlg_Station.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Dlg_Limits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Chooses in a drop-down as the user does: the panel acts on the choice, not the change.
void choose(QWidget* w, const char* combo, const QString& text)
{
    auto* c = w->findChild<QComboBox*>(QString::fromLatin1(combo));
    const int i = c->findText(text);
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
    Q_EMIT c->textActivated(text);
}

QWidget* washing()
{
    g_station = QStringLiteral("洗水");
    return new Dlg_Station;
}

// "处理工作" accepted, a mode and a team chosen, one worker inserted with his counts.
void openPanel(QWidget* w)
{
    w->findChild<QPushButton*>(QStringLiteral("processButton"))->click();
    choose(w, "modeCombo", QStringLiteral("普洗工序"));
    choose(w, "destinationCombo", QStringLiteral("手工"));
    choose(w, "teamCombo", QStringLiteral("洗水组"));
    w->findChild<KvGrid*>(QStringLiteral("memberList"))->SelectRow(1);
    w->findChild<QPushButton*>(QStringLiteral("insertButton"))->click();
    auto* workers = w->findChild<KvGrid*>(QStringLiteral("singleList"));
    workers->SetItemText(0, 2, QStringLiteral("12"));
    workers->SetItemText(0, 3, QStringLiteral("1"));
}

// The same in cooperative mode with the totals shared out.
void openCooperative(QWidget* w)
{
    openPanel(w);
    w->findChild<QRadioButton*>(QStringLiteral("cooperativeRadio"))->click();
    w->findChild<QCheckBox*>(QStringLiteral("selectAllCheck"))->setChecked(true);
    w->findChild<QPushButton*>(QStringLiteral("insertButton"))->click();
    w->findChild<QLineEdit*>(QStringLiteral("totalDoneEdit"))->setText(QStringLiteral("14"));
    w->findChild<QLineEdit*>(QStringLiteral("totalLostEdit"))->setText(QStringLiteral("0"));
}

QWidget* limits()
{
    return new Dlg_Limits(nullptr);
}

ShotRegistration station{Shot{QStringLiteral("station_washing"), washing, nullptr}};
ShotRegistration panel{Shot{QStringLiteral("station_processing"), washing, openPanel}};
ShotRegistration cooperative{Shot{QStringLiteral("station_cooperative"), washing, openCooperative}};
ShotRegistration prompt{Shot{QStringLiteral("limits_prompt"), limits, nullptr}};

}  // namespace
