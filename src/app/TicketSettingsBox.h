#pragma once

#include <QGroupBox>

class QCheckBox;
class QRadioButton;

// This PC's flow tickets (Config.ini, section TICKET): the layout (a label printer's
// 70 x 50 mm labels, or A4 sheets of eight) and whether the desks print on their own.
class TicketSettingsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TicketSettingsBox(QWidget* parent = nullptr);

private:
    void save();

    QRadioButton* label_;
    QRadioButton* sheet_;
    QCheckBox* autoPrint_;
};

// Reads the PC's ticket settings from Config.ini into tickets::settings(); missing keys keep
// the defaults (labels, no printing on its own).
void LoadTicketSettings();
