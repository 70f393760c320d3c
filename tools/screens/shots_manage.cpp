#include "Shots.h"

#include "db/mySQLTool.h"
#include "dialogs/admin/Dlg_Inquiry.h"
#include "dialogs/admin/Dlg_Manage.h"
#include "dialogs/admin/ManagePanel.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "ui/AppState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>

namespace {

QWidget* manageScreen()
{
    g_identity = QStringLiteral("管理员");
    return new Dlg_Manage;
}

// One grid of the screen on its own, large enough to read.
Shot gridShot(int index, const char* name, QSize size)
{
    return Shot{QString::fromLatin1(name),
                [index, size]() -> QWidget* {
                    auto* screen = static_cast<Dlg_Manage*>(manageScreen());
                    ManagePanel* panel = screen->panel(index);
                    panel->setParent(nullptr);
                    QObject::connect(panel, &QObject::destroyed, screen, &QObject::deleteLater);
                    panel->resize(size);
                    return panel;
                },
                [](QWidget* w) {
                    auto* panel = static_cast<ManagePanel*>(w);
                    if (auto* all = panel->findChild<QCheckBox*>(QStringLiteral("inactiveMembersCheck")))
                        all->click();
                    panel->grid()->SelectRow(std::min(2, panel->grid()->GetItemCount() - 1));
                }};
}

const ShotRegistration whole{Shot{QStringLiteral("manage"), manageScreen, {}}};
const ShotRegistration technologies{gridShot(0, "manage_technologies", QSize(420, 420))};
const ShotRegistration processes{gridShot(1, "manage_processes", QSize(420, 420))};
const ShotRegistration members{gridShot(2, "manage_members", QSize(520, 560))};
const ShotRegistration clients{gridShot(3, "manage_clients", QSize(520, 360))};
const ShotRegistration orders{gridShot(4, "manage_orders", QSize(1280, 520))};
const ShotRegistration losses{gridShot(5, "manage_losses", QSize(820, 420))};

// The simple inquiry with a customer and a closing-time range chosen.
const ShotRegistration inquiry{Shot{
    QStringLiteral("manage_inquiry"), [] { return new Dlg_Inquiry; },
    [](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("clientCheck"))->click();
        w->findChild<QComboBox*>(QStringLiteral("clientCombo"))->setCurrentIndex(1);
        w->findChild<QCheckBox*>(QStringLiteral("withClosedCheck"))->click();
        w->findChild<QCheckBox*>(QStringLiteral("timeCheck"))->click();
        w->findChild<QRadioButton*>(QStringLiteral("closedRadio"))->click();
        auto* range = w->findChild<TimeCondition*>(QStringLiteral("range"));
        range->radio(TimeCondition::Range::Within)->click();
        range->date(TimeCondition::First)->setDate(range->date(TimeCondition::Second)->date().addMonths(-1));
    }}};

}  // namespace
