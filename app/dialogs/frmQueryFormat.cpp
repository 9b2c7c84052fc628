#include "frmQueryFormat.h"

namespace qelvane {

frmQueryFormat::frmQueryFormat(DbConnection& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmQueryFormat"));
    setWindowTitle(QStringLiteral("诗词格式查询"));
}

} // namespace qelvane
