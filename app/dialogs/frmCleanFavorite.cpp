#include "frmCleanFavorite.h"

namespace qelvane {

frmCleanFavorite::frmCleanFavorite(DbConnection& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmCleanFavorite"));
    setWindowTitle(QStringLiteral("整理收藏夹"));
}

} // namespace qelvane
