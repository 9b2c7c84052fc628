#pragma once

#include <QDialog>

namespace qelvane {

class DbConnection;

// The poem search dialog. It lives as long as the main window and only hides when
// closed, so its options and results are still there next time.
class frmQueryPoem : public QDialog {
    Q_OBJECT
public:
    frmQueryPoem(DbConnection& db, QWidget* parent = nullptr);

signals:
    // A result was chosen: its list key ("F" + ID when foreign), title and kind ("C"/"F").
    void ShowQueryResult(QString& PoemID, QString& PoemName, QString& PoemType);

private:
    DbConnection& m_db;
};

} // namespace qelvane
