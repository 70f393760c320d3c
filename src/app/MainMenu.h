#pragma once

#include <QList>
#include <QString>

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
};
}  // namespace cmd

// One item of the main menu.
struct MenuItem {
    const char* menu;     // caption of its drop-down menu
    const char* caption;  // caption of the item
    int command;
    bool guarded;  // greyed while signed out and enabled by identity
};

// Every item, in menu order.
const QList<MenuItem>& MainMenuItems();

// The station a station command opens ("洗水" ...), or an empty text.
QString StationOfCommand(int command);

// The guarded commands an identity may use (exact comparison of the identity).
QList<int> GuardedCommandsFor(const QString& identity);
