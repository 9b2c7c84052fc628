#pragma once

#include <QAbstractItemView>

namespace qelvane {

// Runs a view's own handling of a key and tells whether it made another entry current
// (arrow keys, Home, End, page keys), so that reading on with the keyboard can show
// what a click shows.
template <typename Handle>
bool movedByKey(const QAbstractItemView* view, Handle handle)
{
    const QModelIndex before = view->currentIndex();
    handle();
    return view->currentIndex().isValid() && view->currentIndex() != before;
}

} // namespace qelvane
