#pragma once

#include <QHash>
#include <QStaticText>
#include <QStringList>
#include <QStyledItemDelegate>

// Cell editors of a grid, by column: a line edit, or a drop-down with a fixed list. Plain
// cells are painted from text laid out once and kept, not laid out anew at every paint.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum class Kind { Text, Combo };
    struct Editor {
        Kind kind = Kind::Text;
        QStringList choices;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditor(int column, const Editor& editor) { editors_.insert(column, editor); }
    void removeEditor(int column) { editors_.remove(column); }
    bool hasEditor(int column) const { return editors_.contains(column); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // The cell the last setModelData wrote; cleared by the grid before each commit, so that
    // a commit the view ignored (an editor already gone) is not reported as an edit.
    QPersistentModelIndex takeWritten()
    {
        QPersistentModelIndex i = written_;
        written_ = QPersistentModelIndex();
        return i;
    }

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;
    QHash<int, Editor> editors_;
    mutable QHash<QString, QStaticText> texts_;  // laid out in font_
    mutable QFont font_;
    mutable QPersistentModelIndex written_;
};
