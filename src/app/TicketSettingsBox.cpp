#include "app/TicketSettingsBox.h"

#include "app/IniFile.h"
#include "print/TicketLayout.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("TICKET");
const QString kLayout = QStringLiteral("Layout");
const QString kAutoPrint = QStringLiteral("AutoPrint");
const QString kSheet = QStringLiteral("sheet");

}  // namespace

void LoadTicketSettings()
{
    const IniFile ini(ConfigFileName());
    tickets::Settings s;
    s.layout = ini.value(kSection, kLayout).trimmed().compare(kSheet, Qt::CaseInsensitive) == 0
                   ? tickets::Layout::Sheet
                   : tickets::Layout::Label;
    s.autoPrint = ini.value(kSection, kAutoPrint).trimmed() == QStringLiteral("1");
    tickets::setSettings(s);
}

TicketSettingsBox::TicketSettingsBox(QWidget* parent) : QGroupBox(QStringLiteral("本机流水卡"), parent)
{
    setObjectName(QStringLiteral("ticketSettings"));
    label_ = new QRadioButton(QStringLiteral("标签打印机（70×50毫米，每张一卡）"), this);
    label_->setObjectName(QStringLiteral("labelRadio"));
    sheet_ = new QRadioButton(QStringLiteral("A4纸（每页八卡）"), this);
    sheet_->setObjectName(QStringLiteral("sheetRadio"));
    auto* group = new QButtonGroup(this);
    group->addButton(label_);
    group->addButton(sheet_);
    autoPrint_ = makeCheckBox(QStringLiteral("激活和交接后自动打印流水卡"), "autoPrintCheck", this);
    auto* save = makeButton(QStringLiteral("保存"), "saveTicketSettings", this);

    const tickets::Settings& s = tickets::settings();
    (s.layout == tickets::Layout::Sheet ? sheet_ : label_)->setChecked(true);
    autoPrint_->setChecked(s.autoPrint);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(autoPrint_);
    buttons->addStretch(1);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(sheet_);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &TicketSettingsBox::save);
}

void TicketSettingsBox::save()
{
    tickets::Settings s;
    s.layout = sheet_->isChecked() ? tickets::Layout::Sheet : tickets::Layout::Label;
    s.autoPrint = autoPrint_->isChecked();
    IniFile ini(ConfigFileName());
    ini.setValue(kSection, kLayout, s.layout == tickets::Layout::Sheet ? kSheet : QStringLiteral("label"));
    ini.setValue(kSection, kAutoPrint, s.autoPrint ? QStringLiteral("1") : QStringLiteral("0"));
    QString why;
    if (!ini.save(&why)) {
        prompt().message(QStringLiteral("设置无法保存到%1：%2").arg(ini.path(), why), QStringLiteral("错误"));
        return;
    }
    tickets::setSettings(s);
    prompt().message(QStringLiteral("流水卡设置已保存"), QStringLiteral("提示"));
}
