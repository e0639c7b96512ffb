// An item delegate that measures each distinct text once. The tree is rebuilt
// after every change and sized to its widest text; measuring every text again
// each time was most of the cost of a rebuild. The nodes of the tree carry
// text only, in one font, so the text alone decides the size.
#pragma once

#include <QHash>
#include <QStyledItemDelegate>

class CachedSizeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (const auto found = sizes_.constFind(text); found != sizes_.cend())
            return *found;
        // Texts of old routing runs are not kept for ever.
        if (sizes_.size() >= MaxKept)
            sizes_.clear();
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        sizes_.insert(text, size);
        return size;
    }

private:
    static constexpr qsizetype MaxKept = 4096;
    mutable QHash<QString, QSize> sizes_;
};
