#include "app/MainMenu.h"

#include "app/Dlg_System.h"
#include "dialogs/admin/Dlg_Manage.h"
#include "dialogs/board/Dlg_Board.h"
#include "dialogs/finance/Dlg_InquirySalary.h"
#include "dialogs/finance/Dlg_Salary.h"
#include "dialogs/finance/Dlg_SalaryEdit.h"
#include "dialogs/inquiry/Dlg_InquiryPro.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "dialogs/materials/Dlg_RawIn.h"
#include "dialogs/materials/Dlg_RawInquiry.h"
#include "dialogs/materials/Dlg_RawOut.h"
#include "dialogs/quality/Dlg_Quality.h"
#include "dialogs/shipping/Dlg_InquiryShip.h"
#include "dialogs/shipping/Dlg_InquiryShipment.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "dialogs/stations/Dlg_Station.h"

namespace {

template <typename Screen>
void openModal(QWidget* owner)
{
    Screen screen(owner);
    screen.exec();
}

using rights::Screen;
constexpr auto kStation = &openModal<Dlg_Station>;
constexpr auto kShipmentInquiry = &openModal<Dlg_InquiryShipment>;

// The board is a window of its own, beside the main window: it goes on showing while the
// desk works.
void openBoard(QWidget* owner)
{
    Dlg_Board::openFor(owner, Dlg_Board::Place::Beside);
}

}  // namespace

const QList<MenuItem>& MainMenuItems()
{
    // One line a screen: a new screen is added here.
    static const QList<MenuItem> items = {
        {"工作站登记", "洗水工作站", cmd::StationWashing, Screen::Stations, kStation, QStringLiteral("洗水")},
        {"工作站登记", "喷砂工作站", cmd::StationBlasting, Screen::Stations, kStation,
         QStringLiteral("喷砂")},
        {"工作站登记", "树脂工作站", cmd::StationResin, Screen::Stations, kStation, QStringLiteral("树脂")},
        {"工作站登记", "手工工作站", cmd::StationManual, Screen::Stations, kStation, QStringLiteral("手工")},
        {"工作站登记", "夹烫工作站", cmd::StationIroning, Screen::Stations, kStation, QStringLiteral("夹烫")},
        {"工作站登记", "手擦工作站", cmd::StationRubbing, Screen::Stations, kStation, QStringLiteral("手擦")},
        {"工作站登记", "马骝工作站", cmd::StationMonkey, Screen::Stations, kStation, QStringLiteral("马骝")},
        {"货单登记", "来货登记", cmd::Consignee, Screen::Consignee, &openModal<Dlg_Consignee>, {}},
        {"货单登记", "送货登记", cmd::Shipper, Screen::Shipper, &openModal<Dlg_Shipper>, {}},
        {"货单登记", "损耗登记", cmd::Quality, Screen::Quality, &openModal<Dlg_Quality>, {}},
        {"货单登记", "货单查询", cmd::InquiryProduct, Screen::InquiryProduct, &openModal<Dlg_InquiryPro>, {}},
        {"货单登记", "发货查询", cmd::InquiryShipment, Screen::InquiryShipment, kShipmentInquiry, {}},
        {"货单登记", "发货统计", cmd::InquiryShip, Screen::InquiryShip, &openModal<Dlg_InquiryShip>, {}},
        {"原料登记", "采购登记", cmd::RawIn, Screen::RawIn, &openModal<Dlg_RawIn>, {}},
        {"原料登记", "领料登记", cmd::RawOut, Screen::RawOut, &openModal<Dlg_RawOut>, {}},
        {"原料登记", "原料查询", cmd::RawInquiry, Screen::RawInquiry, &openModal<Dlg_RawInquiry>, {}},
        {"生产管理", "生产管理", cmd::Manage, Screen::Manage, &openModal<Dlg_Manage>, {}},
        {"车间看板", "车间看板", cmd::Board, Screen::Board, &openBoard, {}},
        {"财务管理", "计件结算", cmd::Salary, Screen::Salary, &openModal<Dlg_Salary>, {}},
        {"财务管理",
         "计件查询",
         cmd::InquirySalary,
         Screen::InquirySalary,
         &openModal<Dlg_InquirySalary>,
         {}},
        {"财务管理", "计件追加", cmd::SalaryEdit, Screen::SalaryEdit, &openModal<Dlg_SalaryEdit>, {}},
        {"系统设置", "个人设置", cmd::PersonalSettings, std::nullopt, &openModal<Dlg_System>, {}},
        {"系统设置", "管理设置", cmd::AdminSettings, Screen::AdminSettings, &openModal<Dlg_System>, {}},
        {"系统设置", "注销", cmd::SignOut, std::nullopt, nullptr, {}},
        {"简化模式", "货单操作", cmd::Simple, std::nullopt, nullptr, {}},
    };
    return items;
}

const MenuItem* FindMenuItem(int command)
{
    for (const MenuItem& item : MainMenuItems())
        if (item.command == command)
            return &item;
    return nullptr;
}

QList<int> GuardedCommandsFor(const QString& identity)
{
    QList<int> out;
    for (const MenuItem& item : MainMenuItems())
        if (item.guarded() && rights::mayOpen(identity, *item.right))
            out.append(item.command);
    return out;
}
