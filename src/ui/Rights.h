#pragma once

#include <QString>

// Who may do what: every rule about identities (权限) in one place. Identities are compared
// exactly, as the accounts store them.
namespace rights {

inline const QString kAdmin = QStringLiteral("管理员");
inline const QString kChairman = QStringLiteral("董事长");
inline const QString kDirector = QStringLiteral("厂长");
inline const QString kFinance = QStringLiteral("财务");
inline const QString kDispatcher = QStringLiteral("调度");
inline const QString kGuest = QStringLiteral("游客");

// The screens behind the guarded menu items.
enum class Screen {
    Stations,
    Consignee,
    Shipper,
    Quality,
    InquiryProduct,
    InquiryShipment,
    InquiryShip,
    RawIn,
    RawOut,
    RawInquiry,
    Manage,
    Salary,
    InquirySalary,
    SalaryEdit,
    AdminSettings,
    Board,
};

// A station's team leader: "洗水班长" and the six others.
bool isTeamLeader(const QString& identity);

// The menu item of the screen is enabled for the identity.
bool mayOpen(const QString& identity, Screen screen);
// "处理工作" at a station: the management and the dispatcher anywhere, a team leader at his own.
bool mayProcess(const QString& identity, const QString& station);
// "结讫货单" and "修复" at the shipping desk.
bool mayCloseOrders(const QString& identity);
// "编辑新客户" at intake.
bool mayCreateClients(const QString& identity);
// The account grid of the settings.
bool mayEditAccounts(const QString& identity);
// Production management: the technology and process grids' editors, and adding and removing
// technologies, process steps and orders.
bool mayEditPrices(const QString& identity);
// Production management: the loss unit price and the privileged password.
bool mayEditSettings(const QString& identity);
// Production management: the employee, customer and loss-record grids and the cells of orders.
bool mayEditRecords(const QString& identity);

}  // namespace rights
