#pragma once

#include "KeyboardNavigation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTreeView>
#include <QTreeWidget>

namespace qelvane {

// A tree or list that also reports an item reached with the keyboard.
class NavigableTree : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

    // Whether the entry that is current when the focus arrives by Tab is reported too.
    void setShowsCurrentOnFocus(bool on) { m_showsCurrentOnFocus = on; }

signals:
    void itemReachedByKeyboard(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (movedByKey(this, [&] { QTreeWidget::keyPressEvent(event); }))
            emit itemReachedByKeyboard(currentItem());
    }
    // A view tells a screen reader its new current entry as the focused object; one
    // moved while the focus is elsewhere (a search result shown while the reader is in
    // the search dialog) is redrawn but not announced, or the reader would hear the
    // background window's entry in place of the one under his keys.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        if (hasFocus())
            QTreeWidget::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusInEvent(event);
        const bool byTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
        // The entry shown is the entry chosen: it is selected too, so the commands act on it.
        if (m_showsCurrentOnFocus && byTab && currentItem()) {
            currentItem()->setSelected(true);
            emit itemReachedByKeyboard(currentItem());
        }
    }

private:
    bool m_showsCurrentOnFocus = false;
};

// The same for a view over a model, whose entries are opened from the keyboard too:
// the entry that is current when the focus arrives by Tab is chosen and reported, and
// Return, Enter or Space reports the current entry again (with one entry, the arrow
// keys move nowhere).
class NavigableView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

signals:
    void indexReachedByKeyboard(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool opens = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                           (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier);
        if (opens && currentIndex().isValid()) {
            selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            emit indexReachedByKeyboard(currentIndex());
            event->accept();
            return;
        }
        if (movedByKey(this, [&] { QTreeView::keyPressEvent(event); }))
            emit indexReachedByKeyboard(currentIndex());
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QTreeView::focusInEvent(event);
        const bool byTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
        if (!byTab || !model() || model()->rowCount() == 0)
            return;
        if (!currentIndex().isValid())
            setCurrentIndex(model()->index(0, 0));
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit indexReachedByKeyboard(currentIndex());
    }
};

} // namespace qelvane
