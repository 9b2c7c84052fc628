#pragma once

#include "KeyboardNavigation.h"

#include <QKeyEvent>
#include <QTreeView>
#include <QTreeWidget>

namespace qelvane {

// A tree or list that also reports an item reached with the keyboard.
class NavigableTree : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    void itemReachedByKeyboard(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (movedByKey(this, [&] { QTreeWidget::keyPressEvent(event); }))
            emit itemReachedByKeyboard(currentItem());
    }
};

// The same for a view over a model.
class NavigableView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

signals:
    void indexReachedByKeyboard(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (movedByKey(this, [&] { QTreeView::keyPressEvent(event); }))
            emit indexReachedByKeyboard(currentIndex());
    }
};

} // namespace qelvane
