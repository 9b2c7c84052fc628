#pragma once

#include "ui/EditedText.h"
#include "platform/Services.h"
#include "store/LibrarySide.h"

#include <QDialog>
#include <memory>
#include <optional>

class QLabel;

namespace Ui {
class frmPoem;
}

namespace qelvane {

// Adds a poem to an author, or changes a poem's title, text and notes. The main
// window sets the properties in a fixed order (each setter shows what it names); the
// dialog saves on its own and closes itself.
class frmPoem : public QDialog {
    Q_OBJECT
public:
    explicit frmPoem(const Services& services, QWidget* parent = nullptr);
    ~frmPoem() override;

    // ---- Set by the main window in this order: AddNew, CountryType, PoetID, EpochID,
    // and for a change PoemID ----
    // True makes the new poem's ID at once, so a cancelled dialog still uses it up.
    void setAddNew(bool value);
    void setCountryType(LibrarySide value);
    void setPoetID(const QString& value);
    void setEpochID(const QString& value);
    void setPoemID(const QString& value);

    QString PoemID() const { return m_poemId; }
    // The title as typed.
    QString title() const;

private:
    // A name the library gave, or an empty field and a notice when nothing was found.
    QString found(const std::optional<QString>& name, const QString& id, const QString& what);
    void cmdOK_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmPoem> ui;
    Services m_services;
    bool m_addNew = false;
    LibrarySide m_side = LibrarySide::China;
    QString m_poetId;
    QString m_epochId;
    QString m_poemId;
    // The poem's fields as stored, to write back only what the reader changed.
    EditedText m_storedTitle;
    EditedText m_storedContent;
    EditedText m_storedNote;
};

} // namespace qelvane
