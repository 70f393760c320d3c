#pragma once

#include <QWidget>

class KvGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The processing panel of a station: "处理工作" accepts the current flow, then the mode,
// the destination and the workers with their counts (single mode) or the totals shared
// out among them (cooperative mode) are filled in and "提交" hands the flow over.
class WorkPanel : public QWidget {
    Q_OBJECT
public:
    explicit WorkPanel(QWidget* parent = nullptr);

    void setStation(const QString& station) { station_ = station; }
    // The flow the next "处理工作" and "提交" act on; 0 when there is none.
    void setCurrent(quint64 flow, quint64 order);
    void setProcessAllowed(bool allowed);
    bool taskInProgress() const { return task_; }
    // Leaves the task (the user confirmed leaving or changed the station).
    void endTask();
    void clearRates();
    // "处理工作" as if clicked, when this user may press it.
    void acceptIfAllowed();

Q_SIGNALS:
    void handedOver();  // the flow was handed over; the station refreshes everything
    // Refused by another desk (taken: the task has ended) or by the server (the task stays).
    void notHandedOver(bool taken);

private:
    void accept();
    void setPanelEnabled(bool on);
    void modeChosen(const QString& mode);
    void teamChosen(const QString& team);
    void showMode();
    void insertWorkers();
    void deleteWorker();
    void split();
    void submit();
    KvGrid* workers() const;

    QString station_;
    quint64 flow_ = 0;
    quint64 order_ = 0;
    bool task_ = false;
    quint64 taskFlow_ = 0;  // the flow accepted by "处理工作"
    quint64 taskOrder_ = 0;
    QString appliedMode_;  // the mode the panel was last set up for

    QPushButton* process_;
    QLabel* modeLabel_;
    QComboBox* mode_;
    QComboBox* destination_;
    QLineEdit* rate_;
    QLineEdit* lossCharge_;
    QComboBox* team_;
    KvGrid* members_;
    QRadioButton* single_;
    QRadioButton* cooperative_;
    KvGrid* singleList_;
    KvGrid* coopList_;
    QLabel* totalDoneLabel_;
    QLabel* totalLostLabel_;
    QLineEdit* totalDone_;
    QLineEdit* totalLost_;
    QCheckBox* selectAll_;
    QPushButton* insert_;
    QPushButton* delete_;
    QPushButton* singleSubmit_;
    QPushButton* coopSubmit_;
};
