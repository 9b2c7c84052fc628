#pragma once

#include <QTreeWidget>

namespace qelvane {

// A tree or list that also reports an item reached with the keyboard (arrow keys,
// Home, End, page keys), so that reading on with the keyboard shows what a click shows.
class NavigableTree : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    void itemReachedByKeyboard(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QTreeWidgetItem* before = currentItem();
        QTreeWidget::keyPressEvent(event);
        if (currentItem() && currentItem() != before)
            emit itemReachedByKeyboard(currentItem());
    }
};

} // namespace qelvane
