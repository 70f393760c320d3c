#include "grid/GridDelegate.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <cmath>

namespace {
// Texts kept laid out; a list of pages of distinct texts starts the cache afresh.
constexpr int kKeptTexts = 4096;
}  // namespace

const QStaticText& GridDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (font != font_) {
        texts_.clear();
        font_ = font;
    }
    auto it = texts_.find(text);
    if (it != texts_.end())
        return *it;
    if (texts_.size() >= kKeptTexts)
        texts_.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return *texts_.insert(text, laid);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    // The focused cell, right-to-left and several lines keep the style's own drawing; they are
    // few or rare.
    if ((option.state & QStyle::State_HasFocus) || option.direction != Qt::LeftToRight ||
        option.displayAlignment != (Qt::AlignLeft | Qt::AlignVCenter) || text.contains(QLatin1Char('\n'))) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The highlight is the style's own; only the selected row's cells draw it.
    if (selected) {
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
    }
    if (text.isEmpty())
        return;
    // Where the style puts a plain cell's text: inside the focus margin, centred as one line
    // (as high as the laid-out line, which may take a taller fallback font for some characters).
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    if (area.width() <= 0)
        return;
    if (painter->font() != option.font)
        painter->setFont(option.font);

    const QPen pen = painter->pen();
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QStaticText* laid = &laidOut(text, option.font);
    if (laid->size().width() > area.width() && option.textElideMode != Qt::ElideNone)
        laid = &laidOut(option.fontMetrics.elidedText(text, option.textElideMode, area.width()), option.font);
    const int height = static_cast<int>(std::ceil(laid->size().height()));
    painter->drawStaticText(QPointF(area.x(), area.y() + (area.height() - height) / 2), *laid);
    painter->setPen(pen);
}

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
