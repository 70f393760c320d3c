#pragma once

#include "grid/KvGrid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

// Drives a screen through its widgets, found by object name, as a user would.
namespace drive {

template <typename T>
T* child(QWidget* root, const char* name)
{
    T* w = root->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        std::fprintf(stderr, "  no widget %s\n", name);
    return w;
}
inline KvGrid* grid(QWidget* root, const char* name)
{
    return child<KvGrid>(root, name);
}
inline void click(QWidget* root, const char* name)
{
    if (auto* b = child<QAbstractButton>(root, name))
        b->click();
}
inline void type(QWidget* root, const char* name, const QString& text)
{
    if (auto* e = child<QLineEdit>(root, name))
        e->setText(text);
}
// Chooses the entry as the user does: the drop-down reports the choice besides the change.
inline bool choose(QWidget* root, const char* combo, const QString& text)
{
    auto* c = child<QComboBox>(root, combo);
    const int i = c ? c->findText(text, Qt::MatchExactly) : -1;
    if (i < 0) {
        std::fprintf(stderr, "  %s has no %s\n", combo, qPrintable(text));
        return false;
    }
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
    Q_EMIT c->textActivated(text);
    return true;
}
// A mouse click on a row of a grid (on its first visible column).
inline bool clickRow(KvGrid* g, int row)
{
    if (!g || row >= g->GetItemCount()) {
        std::fprintf(stderr, "  no row %d to click\n", row);
        return false;
    }
    int column = 0;
    while (column < g->GetColumnCount() - 1 && g->isColumnHidden(column))
        ++column;
    const QModelIndex i = g->model()->index(row, column);
    g->scrollTo(i);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
    return true;
}
inline int rowOf(const KvGrid* g, int column, const QString& value)
{
    for (int r = 0; g && r < g->GetItemCount(); ++r)
        if (g->GetItemText(r, column) == value)
            return r;
    return -1;
}
// The period of the screens that have a startDate and an endDate (YYYY-MM-DD).
inline void period(QWidget* root, const QString& from, const QString& to)
{
    if (auto* e = child<QDateEdit>(root, "startDate"))
        e->setDate(QDate::fromString(from, Qt::ISODate));
    if (auto* e = child<QDateEdit>(root, "endDate"))
        e->setDate(QDate::fromString(to, Qt::ISODate));
}
// Types into a cell through the grid's editor and commits with Enter.
inline void typeCell(KvGrid* g, int row, int column, const QString& value)
{
    const QModelIndex i = g->model()->index(row, column);
    g->setCurrentIndex(i);
    g->edit(i);
    auto* editor = g->findChild<QLineEdit*>(QStringLiteral("gridTextEditor"));
    if (!editor)
        return;
    editor->setText(value);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace drive
