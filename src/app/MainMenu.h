#pragma once

#include "ui/Rights.h"

#include <QList>
#include <QString>
#include <optional>

class QWidget;

// The commands of the main menu, numbered as the menu resource numbers them.
namespace cmd {
enum : int {
    StationWashing = 32779,
    StationBlasting = 32780,
    StationResin = 32781,
    StationManual = 32782,
    StationIroning = 32783,
    StationRubbing = 32784,
    StationMonkey = 32785,
    Consignee = 32788,
    Shipper = 32790,
    Quality = 32818,
    InquiryProduct = 32820,
    InquiryShipment = 32831,
    InquiryShip = 32832,
    RawIn = 32827,
    RawOut = 32826,
    RawInquiry = 32828,
    Manage = 32798,
    Salary = 32837,
    InquirySalary = 32835,
    SalaryEdit = 32840,
    PersonalSettings = 32805,
    AdminSettings = 32806,
    SignOut = 32807,
    Simple = 32843,
    Board = 32850,
};
}  // namespace cmd

// One item of the main menu: where it stands, the right that enables it (none: never
// greyed) and the screen it opens, modally, owned by the main window (none: the main
// window handles the command itself).
struct MenuItem {
    const char* menu;     // caption of its drop-down menu
    const char* caption;  // caption of the item
    int command;
    std::optional<rights::Screen> right;
    void (*open)(QWidget* owner);
    QString station;  // the station a station item opens
    bool guarded() const { return right.has_value(); }
};

// Every item, in menu order.
const QList<MenuItem>& MainMenuItems();
// The item of a command; nullptr when none.
const MenuItem* FindMenuItem(int command);

// The guarded commands an identity may use.
QList<int> GuardedCommandsFor(const QString& identity);
