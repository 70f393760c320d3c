#include "grid/GridDelegate.h"

#include <QComboBox>
#include <QLineEdit>

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const auto it = editors_.constFind(index.column());
    if (it == editors_.constEnd())
        return nullptr;
    if (it->kind == Kind::Combo) {
        auto* combo = new QComboBox(parent);
        combo->addItems(it->choices);
        combo->setObjectName(QStringLiteral("gridComboEditor"));
        return combo;
    }
    auto* edit = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!edit)
        edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("gridTextEditor"));
    return edit;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->selectAll();
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // A cell whose text is not among the choices keeps it until one is chosen.
        if (combo->currentIndex() < 0)
            return;
        model->setData(index, combo->currentText(), Qt::EditRole);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        model->setData(index, edit->text(), Qt::EditRole);
    else
        return;
    written_ = QPersistentModelIndex(index);
}
