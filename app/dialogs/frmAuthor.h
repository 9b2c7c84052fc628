#pragma once

#include "platform/Services.h"
#include "ui/EditedText.h"
#include "store/LibrarySide.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QRadioButton;

namespace Ui {
class frmAuthor;
}

namespace qelvane {

// Adds an author, or changes an author's name, epoch or country, and biography. The
// main window sets the properties, fills the fields when changing, and shows it; it
// saves on its own and closes itself.
class frmAuthor : public QDialog {
    Q_OBJECT
public:
    explicit frmAuthor(const Services& services, QWidget* parent = nullptr);
    ~frmAuthor() override;

    // ---- Set by the main window, in this order for a change: CountryType, PoetID,
    // AddNew = false; for a new author only AddNew = true ----
    void setAddNew(bool value);
    void setPoetID(const QString& value);
    // The Chinese epochs or the foreign countries.
    void setCountryType(LibrarySide value);

    // The author being changed, as the main window shows it: name, biography and the
    // epoch or country chosen in the list.
    void showAuthor(const QString& name, const QString& biography, const QString& place);

    // The author's ID after a save (a new author's is made by the save).
    QString PoetID() const { return m_poetId; }

private:
    void optKind_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmAuthor> ui;
    std::array<QRadioButton*, 2> optKind{};
    Services m_services;
    bool m_addNew = false;
    QString m_poetId;
    EditedText m_storedBiography;
    LibrarySide m_side = LibrarySide::China;
};

} // namespace qelvane
