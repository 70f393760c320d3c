#pragma once

#include "grid/KvGrid.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace kvtest {

// Drives a screen through its widgets, found by object name, as a user would.
class ScreenDriver {
public:
    explicit ScreenDriver(QWidget* root = nullptr) : root_(root) {}
    void setRoot(QWidget* root) { root_ = root; }

    template <typename T>
    T* child(const char* name) const
    {
        T* w = root_ ? root_->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Makes a screen into `holder`, shows it and drives it from now on.
    template <typename T>
    T& openScreen(std::unique_ptr<T>& holder)
    {
        holder = std::make_unique<T>();
        holder->show();
        setRoot(holder.get());
        return *holder;
    }
    KvGrid* grid(const char* name) const { return child<KvGrid>(name); }
    QString text(const char* name) const { return child<QLineEdit>(name)->text(); }
    void type(const char* name, const QString& value) const { child<QLineEdit>(name)->setText(value); }
    void click(const char* name) const { child<QAbstractButton>(name)->click(); }
    // Chooses the entry with exactly this text, as the user does: the drop-down reports
    // the choice (activated) besides the change.
    void choose(const char* combo, const QString& value) const { choose(child<QComboBox>(combo), value); }
    static void choose(QComboBox* c, const QString& value)
    {
        const int i = c->findText(value, Qt::MatchExactly);
        EXPECT_GE(i, 0) << c->objectName().toStdString() << " has no " << value.toStdString();
        c->setCurrentIndex(i);
        if (i < 0)
            return;
        Q_EMIT c->activated(i);
        Q_EMIT c->textActivated(c->itemText(i));
    }

    // A mouse click on a row of a grid (on its first visible column), or beside the rows.
    static void clickRow(KvGrid* g, int row)
    {
        int column = 0;
        while (column < g->GetColumnCount() - 1 && g->isColumnHidden(column))
            ++column;
        const QModelIndex i = g->model()->index(row, column);
        g->scrollTo(i);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
    }
    static void clickBeside(KvGrid* g)
    {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(5, g->viewport()->height() - 3));
    }
    // The first row whose cell in `column` is `value`, -1 when none.
    static int rowOf(const KvGrid* g, int column, const QString& value) { return g->FindRow(column, value); }
    // Clicks the row whose cell in `column` is `value`; false when there is none.
    static bool clickRowWith(KvGrid* g, int column, const QString& value)
    {
        const int r = rowOf(g, column, value);
        if (r < 0)
            return false;
        clickRow(g, r);
        return true;
    }
    // Types into a cell through the grid's text editor and commits with Enter.
    static void typeCell(KvGrid* g, int row, int column, const QString& value)
    {
        const QModelIndex i = g->model()->index(row, column);
        g->setCurrentIndex(i);
        g->edit(i);
        auto* editor = g->findChild<QLineEdit*>(QStringLiteral("gridTextEditor"));
        ASSERT_NE(editor, nullptr);
        editor->setText(value);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        // The closed editor goes now, so that the next edit finds its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    QWidget* root_;
};

// The texts of a list's column, top to bottom.
inline QStringList column(const KvGrid* g, int c = 0)
{
    QStringList out;
    for (int r = 0; g && r < g->GetItemCount(); ++r)
        out.append(g->GetItemText(r, c));
    return out;
}

}  // namespace kvtest
