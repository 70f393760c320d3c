#pragma once

#include <QDialog>
#include <QSet>
#include <array>

class Dlg_Limits;
class KvGrid;
class ListModel;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class ScanBox;
class QTimer;
class Rows;
class Statement;
class WorkPanel;

// A workstation's screen: its queue of open flows in a fixed order of classes, the flows
// it finished, the details of the current flow and the processing panel. The first three
// places of the queue can be fixed by hand after the privileged password.
class Dlg_Station : public QDialog {
    Q_OBJECT
public:
    // Opens on the station named in g_station (which is emptied).
    explicit Dlg_Station(QWidget* parent = nullptr);

    static constexpr int kRefreshMs = 60000;
    static constexpr int kSequenceSlots = 3;

    const QString& station() const { return station_; }
    quint64 currentFlow() const { return flow_; }
    quint64 currentOrder() const { return order_; }
    bool taskInProgress() const;
    bool sequenceSet() const { return sequenceSet_; }

    // The refresh timer's work: only while this screen is the active window.
    void refreshTick();

public Q_SLOTS:
    void reject() override;  // closing the window or Escape: leaving

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void stationChanged();
    bool confirmLeave();
    // The queue, and with `withDone` the list of finished flows, read in one exchange.
    void rebuildQueue(bool withDone = false);
    bool appendRows(const Rows& rows);
    void setCurrent(quint64 flow, quint64 order);
    void currentFromFirstRow();
    void loadDetails();
    void clearDetails();
    void rowClicked(int row);
    void selectCurrentRow();
    void setOrdering(bool on);
    void moveSequence();
    void passwordTyped();
    void moveUp();
    void moveDown();
    void moveTop();
    void saveSequence();
    void handedOver();
    void notHandedOver(bool taken);
    // A scanned ticket: a flow waiting here is chosen and 处理工作 starts as if clicked.
    void scanned(const QString& text);
    void chooseFlow(quint64 flow, quint64 order);
    int rowOfFlow(quint64 flow) const;
    void reprint();

    QString station_;
    bool stationOpen_ = false;
    quint64 flow_ = 0;
    quint64 order_ = 0;
    bool sequenceSet_ = false;
    bool ordering_ = false;
    std::array<quint64, kSequenceSlots> saved_{};
    QSet<QString> listed_;

    QComboBox* stationCombo_;
    KvGrid* waiting_;
    KvGrid* done_;
    QLineEdit* client_;
    QLineEdit* method_;
    QLineEdit* nature_;
    QLineEdit* type_;
    QLineEdit* style_;
    QLineEdit* sex_;
    QLineEdit* priority_;
    QLineEdit* from_;
    QLineEdit* quantity_;
    QPlainTextEdit* history_;
    QPushButton* move_;
    QPushButton* up_;
    QPushButton* down_;
    QPushButton* top_;
    QPushButton* save_;
    ScanBox* scan_;
    WorkPanel* panel_;
    Dlg_Limits* limits_;
    QTimer* timer_;
};
