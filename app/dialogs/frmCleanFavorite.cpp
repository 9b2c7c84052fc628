#include "frmCleanFavorite.h"

#include "FavoriteList.h"
#include "platform/MessageBox.h"
#include "ui/Refusal.h"
#include "store/Changes.h"
#include "ui/LibraryKeys.h"
#include "ui_frmCleanFavorite.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace qelvane {

frmCleanFavorite::frmCleanFavorite(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmCleanFavorite>()), m_services(services)
{
    ui->setupUi(this);
    m_favorites = new FavoriteList(this);
    m_order = new FavoriteOrder(this);
    m_order->setSourceModel(m_favorites);
    // Both looks of the list show the same entries with the same selection.
    ui->lvwFavorite->setModel(m_order);
    ui->lvwFavoriteIcons->setModel(m_order);
    ui->lvwFavoriteIcons->setSelectionModel(ui->lvwFavorite->selectionModel());
    ui->lvwFavorite->header()->setSectionsClickable(true);
    ui->lvwFavorite->header()->setStretchLastSection(false);

    connect(ui->cboView, &QComboBox::currentIndexChanged, this, &frmCleanFavorite::cboView_Click);
    connect(ui->cmdDelete, &tolvarin::Tolvarin::Click, this, &frmCleanFavorite::cmdDelete_Click);
    connect(ui->cmdExit, &tolvarin::Tolvarin::Click, this, &frmCleanFavorite::cmdExit_Click);
    connect(ui->lvwFavorite->header(), &QHeaderView::sectionClicked, this, &frmCleanFavorite::lvwFavorite_ColumnClick);
    connect(ui->lvwFavorite->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCleanFavorite::updateDeleteButton);

    ui->cboView->addItems({QStringLiteral("大图标"), QStringLiteral("小图标"), QStringLiteral("列表"),
                           QStringLiteral("详细资料")});
    ui->cboView->setCurrentIndex(3);
    fillList();
}

frmCleanFavorite::~frmCleanFavorite() = default;

QAbstractItemView* frmCleanFavorite::shownView() const
{
    return ui->stackFavorite->currentWidget() == ui->lvwFavorite ? static_cast<QAbstractItemView*>(ui->lvwFavorite)
                                                                 : ui->lvwFavoriteIcons;
}

// 0 large icons, 1 small icons, 2 list, 3 details (the columns).
void frmCleanFavorite::cboView_Click(int index)
{
    if (index == 3) {
        ui->stackFavorite->setCurrentWidget(ui->lvwFavorite);
        return;
    }
    QListView* icons = ui->lvwFavoriteIcons;
    const bool large = index == 0;
    icons->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    icons->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    icons->setFlow(index == 2 ? QListView::TopToBottom : QListView::LeftToRight);
    icons->setWrapping(true);
    icons->setResizeMode(QListView::Adjust);
    icons->setGridSize(large ? QSize(96, 64) : QSize());
    ui->stackFavorite->setCurrentWidget(icons);
}

// The three columns share the list's width when it is first shown.
void frmCleanFavorite::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_columnsPlaced)
        return;
    m_columnsPlaced = true;
    const int third = ui->lvwFavorite->viewport()->width() / 3;
    for (int column = 0; column < 3; ++column)
        ui->lvwFavorite->header()->resizeSection(column, third);
}

void frmCleanFavorite::fillList(int chosenRow)
{
    m_favorites->fill(*m_services.db);
    // An entry is chosen (the first, or the neighbour of one just taken out), so 删除
    // works at once from the keyboard.
    if (m_order->rowCount() > 0)
        ui->lvwFavorite->setCurrentIndex(m_order->index(std::min(chosenRow, m_order->rowCount() - 1), 0));
    updateDeleteButton();
}

// The row of the chosen entry as the list shows it: the details view selects whole
// rows, the icon and list views a single cell.
std::optional<int> frmCleanFavorite::chosenRow() const
{
    const QModelIndexList chosen = ui->lvwFavorite->selectionModel()->selectedIndexes();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first().row();
}

// 删除 needs a chosen entry.
void frmCleanFavorite::updateDeleteButton()
{
    ui->cmdDelete->setEnabled(chosenRow().has_value());
}

void frmCleanFavorite::cmdDelete_Click()
{
    const std::optional<int> row = chosenRow();
    if (!row)
        return;
    const FavoriteList::Favorite favorite = m_favorites->favorite(m_order->mapToSource(m_order->index(*row, 0)).row());
    if (msg::question(this,
                      QStringLiteral("确实要把 ") + favorite.title +
                          QStringLiteral("从收藏夹中删除吗？它不会影响诗词库中的诗词!"),
                      QStringLiteral("警告")) == msg::Answer::No)
        return;
    try {
        changes::unmarkFavorite(*m_services.db, favorite.side, keys::idOf(favorite.side, favorite.key));
    } catch (const StoreError& failure) {
        msg::notice(this, refusalText(failure, QStringLiteral("从收藏夹中删除时出现错误：%1")));
        fillList(*row);
        return;
    }
    m_changed = true;
    fillList(*row);
}

void frmCleanFavorite::cmdExit_Click()
{
    hide();
}

// The first click sorts descending, as the main window's list does; each click flips.
void frmCleanFavorite::lvwFavorite_ColumnClick(int column)
{
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    ui->lvwFavorite->header()->setSortIndicatorShown(true);
    ui->lvwFavorite->header()->setSortIndicator(column, m_sortOrder);
    m_order->sort(column, m_sortOrder);
}

// The Delete key on a chosen entry asks as 删除 does.
void frmCleanFavorite::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && ui->cmdDelete->isEnabled()) {
        cmdDelete_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qelvane
