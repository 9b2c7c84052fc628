#pragma once

#include <QString>
#include <QStringList>

namespace qelvane::mklib {

// The epochs of classical poetry in the order of history, as the tree shows them: 五代
// between 唐 and 宋, and 辽 and 金, which ruled the north beside 宋, after it.
QStringList epochsInOrder();

// An epoch as a data set labels it: one of the library's; a passage between two
// ("宋末元初"); an epoch of modern poetry (近现代, 当代, 民国), which a library of
// classical poetry leaves out; or a label the builder does not know.
struct EpochLabel {
    enum class Kind { Classical, Transitional, Modern, Unknown };
    Kind kind = Kind::Unknown;
    QString earlier; // the epoch itself, or the earlier of the two
    QString later;   // the later of the two, for a passage
};
EpochLabel readEpochLabel(const QString& label);

} // namespace qelvane::mklib
