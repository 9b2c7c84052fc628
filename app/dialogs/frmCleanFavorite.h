#pragma once

#include "platform/Services.h"

#include <QDialog>
#include <memory>
#include <optional>

class QAbstractItemView;

namespace Ui {
class frmCleanFavorite;
}

namespace qelvane {

class FavoriteList;
class FavoriteOrder;

// Lists the favourite poems of both sides and takes chosen ones out of the favourites
// (the poems stay in the library). Closing it only hides it; its caller then reads
// Changed.
class frmCleanFavorite : public QDialog {
    Q_OBJECT
public:
    explicit frmCleanFavorite(const Services& services, QWidget* parent = nullptr);
    ~frmCleanFavorite() override;

    // Whether any poem was taken out of the favourites while the dialog was open.
    bool Changed() const { return m_changed; }

    FavoriteList* favorites() const { return m_favorites; }
    // The view the chosen display style shows.
    QAbstractItemView* shownView() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cboView_Click(int index);
    void fillList(int chosenRow = 0);
    std::optional<int> chosenRow() const;
    void cmdDelete_Click();
    void cmdExit_Click();
    void lvwFavorite_ColumnClick(int column);
    void updateDeleteButton();

    std::unique_ptr<Ui::frmCleanFavorite> ui;
    Services m_services;
    FavoriteList* m_favorites;
    FavoriteOrder* m_order;
    bool m_changed = false;
    bool m_columnsPlaced = false;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace qelvane
