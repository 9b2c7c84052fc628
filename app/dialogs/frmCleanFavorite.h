#pragma once

#include <QDialog>

namespace qelvane {

class DbConnection;

// Lists the favourite poems and takes chosen ones out of the favourites.
class frmCleanFavorite : public QDialog {
    Q_OBJECT
public:
    frmCleanFavorite(DbConnection& db, QWidget* parent = nullptr);

    // Whether any poem was taken out of the favourites while the dialog was open.
    bool Changed() const { return m_changed; }

private:
    DbConnection& m_db;
    bool m_changed = false;
};

} // namespace qelvane
