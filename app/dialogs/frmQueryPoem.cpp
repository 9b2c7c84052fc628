#include "frmQueryPoem.h"

namespace qelvane {

frmQueryPoem::frmQueryPoem(DbConnection& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmQueryPoem"));
    setWindowTitle(QStringLiteral("查找诗词"));
    setModal(false);
}

} // namespace qelvane
