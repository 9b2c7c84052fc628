#include "frmQueryPoem.h"

#include "PoemSearch.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"
#include "store/Library.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "SearchResults.h"
#include "ui_frmQueryPoem.h"


namespace qelvane {

namespace {
// How long one slice of a search may keep the event loop waiting.
constexpr qint64 SliceMs = 8;
} // namespace

frmQueryPoem::frmQueryPoem(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmQueryPoem>()), m_services(services)
{
    ui->setupUi(this);
    setModal(false);
    m_results = new SearchResults(this);
    ui->lvwPoem->setModel(m_results);
    optFind = {ui->optFind_0, ui->optFind_1};

    // Not 0: a zero timer can run twice in one pass of the event loop, with nothing
    // else in between; this one is due again at once, but only at the next pass.
    m_slices.setInterval(1);
    m_slices.setTimerType(Qt::PreciseTimer);
    connect(&m_slices, &QTimer::timeout, this, &frmQueryPoem::searchSlice);
    connect(ui->cboFind, &QComboBox::currentIndexChanged, this, &frmQueryPoem::cboFind_Click);
    // Chosen by a click or by the arrow keys.
    for (int index : {0, 1})
        connect(optFind[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optFind_Click(index);
        });
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdOK_Click);
    connect(ui->cmdCancel, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdCancel_Click);
    connect(ui->cmdExit, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdExit_Click);
    // Enter in either search text starts a search, as 查找 does while it can be used;
    // Escape hides the dialog as its close box does (QDialog's own handling).
    for (QLineEdit* text : {ui->txtName, ui->txtContent})
        connect(text, &QLineEdit::returnPressed, this, [this] {
            if (ui->cmdOK->isEnabled())
                cmdOK_Click();
        });
    connect(ui->lvwPoem, &QAbstractItemView::clicked, this, &frmQueryPoem::lvwPoem_ItemClick);
    connect(ui->lvwPoem, &NavigableView::indexReachedByKeyboard, this, &frmQueryPoem::lvwPoem_ItemClick);

    // Load: the column, the two kinds (choosing the first fills the range list), the
    // range list once more.
    ui->cboFind->addItem(QStringLiteral("中国诗词"));
    ui->cboFind->addItem(QStringLiteral("国外诗词"));
    ui->cboFind->setCurrentIndex(0);
    cboFind_Click();
}

frmQueryPoem::~frmQueryPoem() = default;

void frmQueryPoem::cboFind_Click()
{
    m_findRange = ui->cboFind->currentIndex() == 0 ? LibrarySide::China : LibrarySide::Foreign;
    fillRange();
}

void frmQueryPoem::fillRange()
{
    ui->cboEpoch->clear();
    ui->cboEpoch->addItem(library::AnyRange);
    const int kind = ui->cboFind->currentIndex();
    if (kind == 0 || kind == 1) {
        ui->cboEpoch->addItems(
            library::placeNames(*m_services.db, kind == 0 ? LibrarySide::China : LibrarySide::Foreign));
    }
    ui->cboEpoch->setCurrentIndex(0);
}

void frmQueryPoem::optFind_Click(int index)
{
    ui->txtName->setEnabled(index == 0);
    ui->txtContent->setEnabled(index != 0);
}

void frmQueryPoem::cmdOK_Click()
{
    m_searchSide = m_findRange;
    m_query = library::searchQuery(m_searchSide, ui->cboEpoch->currentText());
    Search();
}

void frmQueryPoem::Search()
{
    m_stopRequested = false;
    ui->cmdOK->setEnabled(false);
    ui->cmdCancel->setEnabled(true);
    ui->cmdExit->setEnabled(false);
    try {
        const bool byTitle = ui->optFind_0->isChecked();
        m_search = std::make_unique<PoemSearch>(*m_services.db, m_query,
                                                byTitle ? search::Tested::Title : search::Tested::Content,
                                                byTitle ? ui->txtName->text() : ui->txtContent->text());
        ui->xpBar->setMaximum(library::searchSize(*m_services.db, m_query));
        ui->xpBar->setMinimum(0);
        ui->xpBar->setValue(0);
        m_results->clear();
        ui->lblTip_2->setText(QStringLiteral("正在为您查找符合条件的诗词，请稍候……"));
    } catch (const std::exception&) {
        failed();
        return;
    }
    m_slices.start();
}

// One slice of the record loop: the matches it found are listed, the progress bar
// counts the records examined, and a stop asked for since the last slice ends it.
void frmQueryPoem::searchSlice()
{
    QList<search::Found> found;
    bool more = false;
    try {
        more = m_search->examine(SliceMs, found);
    } catch (const std::exception&) {
        failed();
        return;
    }
    if (!found.isEmpty()) {
        QList<SearchResults::Row> rows;
        rows.reserve(found.size());
        for (search::Found& poem : found)
            rows.append({keys::keyOf(m_searchSide, poem.id), std::move(poem.title), m_searchSide});
        m_results->append(std::move(rows));
    }
    ui->xpBar->setValue(std::min(m_search->examined(), ui->xpBar->maximum()));
    if (!more || m_stopRequested)
        finishSearch();
}

// The search's failure trap: the user is told, and the search finishes as usual with
// what it found so far.
void frmQueryPoem::failed()
{
    m_slices.stop();
    msg::notice(this, QStringLiteral("无法继续查找过程!"));
    finishSearch();
}

void frmQueryPoem::finishSearch()
{
    m_slices.stop();
    m_search.reset();
    ui->lblTip_2->setText(QStringLiteral("查找结束，共有%1首诗词").arg(m_results->rowCount()));
    ui->cmdOK->setEnabled(true);
    ui->cmdCancel->setEnabled(false);
    ui->cmdExit->setEnabled(true);
    emit searchFinished();
}

void frmQueryPoem::cmdCancel_Click()
{
    m_stopRequested = true;
}

void frmQueryPoem::cmdExit_Click()
{
    hide();
}

// Each time it is shown, the reader types at once: the focus is in the search text
// the chosen option uses.
void frmQueryPoem::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QLineEdit* text = ui->optFind_0->isChecked() ? ui->txtName : ui->txtContent;
    text->setFocus(Qt::OtherFocusReason);
}

// The kind comes with the result: a result found among the foreign poems stays
// foreign when the kind list has been changed since.
void frmQueryPoem::lvwPoem_ItemClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const SearchResults::Row& found = m_results->row(index.row());
    QString id = found.key;
    QString name = found.title;
    emit ShowQueryResult(id, name, found.kind);
}

} // namespace qelvane
