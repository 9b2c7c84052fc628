#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace qelvane {

// The standard choosers the dialogs ask the user through: a font, a colour, a file
// to open. Each answers nothing when the user cancels.
class Choosers {
public:
    virtual ~Choosers();
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, const QString& title) = 0;
    virtual std::optional<QString> chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                                    const QString& filter) = 0;
};

// The dialogs: the program's font chooser (half sizes such as 10.5 points), and the
// desktop's QColorDialog and QFileDialog.
class DialogChoosers : public Choosers {
public:
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, const QString& title) override;
    std::optional<QString> chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                            const QString& filter) override;
};

} // namespace qelvane
