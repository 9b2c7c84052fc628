#pragma once

#include <QDialog>

namespace qelvane {

class DbConnection;

// Looks up the metre template of a classical poem form.
class frmQueryFormat : public QDialog {
    Q_OBJECT
public:
    frmQueryFormat(DbConnection& db, QWidget* parent = nullptr);

private:
    DbConnection& m_db;
};

} // namespace qelvane
