#include "dialogs/board/BoardReader.h"

BoardReader::BoardReader(const mySQLTool::Login& login) : login_(login)
{
    qRegisterMetaType<board::Figures>();
}

BoardReader::~BoardReader() = default;

void BoardReader::prepare(mySQLTool& db)
{
    db.SetTimeouts(kConnectSeconds, kAnswerSeconds, kAnswerSeconds);
    db.AddSessionStatement("set session transaction read only");
}

void BoardReader::readAt(const QDateTime& now)
{
    if (!db_) {
        db_ = std::make_unique<mySQLTool>();
        prepare(*db_);
    }
    board::Figures figures;
    Outcome o = Outcome::done();
    if (!db_->IsConnected() && !db_->ConnectWith(login_))
        o = db_->Failure();
    else
        o = board::read(*db_, now, figures);
    // A failure always says something: an empty text would read as success.
    QString failure = o.ok() ? QString() : o.text();
    if (!o.ok() && failure.isEmpty())
        failure = QStringLiteral("数据库没有回答");
    Q_EMIT read(figures, failure);
}
