#pragma once

#include <QDialog>

namespace qelvane {

// The options dialog: fonts, colours and the background music.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

signals:
    void OptionChanged();
};

} // namespace qelvane
