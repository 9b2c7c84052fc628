#pragma once

#include <QDialog>
#include <QFont>

class QLabel;
class QLineEdit;
class QListWidget;

namespace qelvane {

// The program's font chooser: a face and a size in points, half sizes such as 10.5
// (五号) among them, typed or picked from the list. It opens on the face a font is
// drawn in (宋体 shows as the Song face that stands in for it).
class FontChooser : public QDialog {
    Q_OBJECT
public:
    explicit FontChooser(const QFont& initial, QWidget* parent = nullptr);

    // The chosen face and size; the size typed is taken as typed (10.5 is 10.5).
    QFont chosenFont() const;

    // The sizes offered in the list, in points.
    static const QList<double>& offeredSizes();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showSample();
    void confirm();

    QListWidget* m_families;
    QLineEdit* m_size;
    QListWidget* m_sizes;
    QLabel* m_sample;
    QFont m_initial;
};

} // namespace qelvane
