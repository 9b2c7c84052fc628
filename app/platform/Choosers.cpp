#include "Choosers.h"

#include "FontChooser.h"

#include <QColorDialog>
#include <QFileDialog>

namespace qelvane {

Choosers::~Choosers() = default;

std::optional<QFont> DialogChoosers::chooseFont(QWidget* parent, const QFont& initial)
{
    FontChooser chooser(initial, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.chosenFont();
}

std::optional<QColor> DialogChoosers::chooseColour(QWidget* parent, const QColor& initial, const QString& title)
{
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

std::optional<QString> DialogChoosers::chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                                        const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(parent, title, folder, filter);
    return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
}

} // namespace qelvane
