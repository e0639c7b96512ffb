// The tree's delegate measures a text once: its sizes are those of the plain
// delegate, and a node whose text changes is measured by its new text.
#include "cached_size_delegate.h"

#include <QTreeWidget>
#include <QtTest>

class CachedSizeDelegateTest : public QObject {
    Q_OBJECT
private slots:
    void sizesFollowTheTextsAsThePlainDelegateMeasuresThem() {
        QTreeWidget tree;
        auto* cached = new CachedSizeDelegate(&tree);
        tree.setItemDelegate(cached);
        QStyledItemDelegate plain;
        auto* node = new QTreeWidgetItem(&tree, QStringList{"1--a"});
        const QStyleOptionViewItem option;
        for (const QString text : {"1--a", "2-1: 10.000 1-2-3-4-5-6-7-8-9-10-11-12-13-14-15",
                                   "1--a", "маршрутизаторы"}) {
            node->setText(0, text);
            const QModelIndex index = tree.indexFromItem(node);
            QCOMPARE(cached->sizeHint(option, index), plain.sizeHint(option, index));
        }
        QVERIFY(cached->sizeHint(option, tree.indexFromItem(node)).width() >
                QFontMetrics(option.font).horizontalAdvance("1--a"));
    }
};

QTEST_MAIN(CachedSizeDelegateTest)
#include "cached_size_delegate_test.moc"
