#pragma once

#include "platform/Services.h"
#include "store/Library.h"

#include <QDialog>
#include <QVariantList>
#include <array>
#include <memory>

class QLabel;
class QRadioButton;
class QModelIndex;

namespace Ui {
class frmQueryPoem;
}

namespace qelvane {

class PoemSearch;
class SearchResults;

// The poem search dialog. It lives as long as the main window and only hides when
// closed, so its options and results are still there next time. A search runs on a
// thread of its own (PoemSearch); the dialog lists what it hands over, so the window
// stays live, and 停止 ends it at once.
class frmQueryPoem : public QDialog {
    Q_OBJECT
public:
    explicit frmQueryPoem(const Services& services, QWidget* parent = nullptr);
    ~frmQueryPoem() override;

    // The collection the kind list chooses.
    LibrarySide FindRange() const { return m_findRange; }
    // The statement the last find built, and the range value bound to it.
    QString QuerySql() const { return m_query.statement; }
    QVariantList queryValues() const { return m_query.values; }
    bool searching() const { return m_search != nullptr; }
    // What the result list shows.
    SearchResults* results() const { return m_results; }

signals:
    // A result was chosen: its list key ("F" + ID when foreign), title and side.
    void ShowQueryResult(QString& PoemID, QString& PoemName, LibrarySide PoemType);
    // After the finishing step of every search.
    void searchFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cboFind_Click();
    // The range list anew from the library, with `keep` chosen if it is still there.
    void fillRange(const QString& keep = {});
    void optFind_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void lvwPoem_ItemClick(const QModelIndex& index);
    void Search();
    // Lists what the running search has handed over since last time.
    void collect();
    void failed(const QString& detail);
    void finishSearch();

    std::unique_ptr<Ui::frmQueryPoem> ui;
    std::array<QRadioButton*, 2> optFind{};
    Services m_services;
    LibrarySide m_findRange = LibrarySide::China;
    library::SearchQuery m_query;
    // The running search; news it sends is for it only while its number is current.
    std::unique_ptr<PoemSearch> m_search;
    quint64 m_generation = 0;
    // The side the running or last search read (kept with each result it lists).
    LibrarySide m_searchSide = LibrarySide::China;
    SearchResults* m_results;
};

} // namespace qelvane
