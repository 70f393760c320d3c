#pragma once

#include <QString>

class Literal;

// Rows the benchmark creates for its writing actions, so that runs can be repeated: an
// open, activated order of a real customer and one open flow of it. The same texts serve the
// screens' session and the bare client (there inside a transaction that is rolled back).
namespace fixture {

QString orderInsert(quint64 client, int quantity, const QString& now);
QString flowInsert(quint64 order, quint64 client, const QString& previous, const QString& station,
                   int quantity, const QString& now);

// Through the screens' session: an order and its flow; the flow number.
quint64 order(int quantity, quint64* orderNo);
quint64 flow(quint64 order, const QString& previous, const QString& station, int quantity);
// Deletes what the benchmark made for an order: its piece-work, shipments, flows and itself.
void remove(quint64 order);
// Through the bare client, inside its open transaction.
quint64 order(Literal& l, int quantity, quint64* orderNo);
quint64 flow(Literal& l, quint64 order, const QString& previous, const QString& station, int quantity);

// An active employee of no team with `pieces` rows of unsettled piece-work an hour old;
// his number.
QString memberInsert();
QString missionInsert(quint64 member, const QString& when);
quint64 member(int pieces);
quint64 member(Literal& l, int pieces);
// Deletes the employee, his piece-work and his settlements.
void removeMember(quint64 member);

// The customer the benchmark's orders belong to.
quint64 client();

}  // namespace fixture
