#pragma once

// The Tolvarin button's design-time property pages: "About" and "Options" (seven of the
// button's properties), and a dialog that shows both for the buttons a designer chose.

#include "tolvarin/Tolvarin.h"

#include <QDialog>
#include <QUrl>
#include <QVariant>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace tolvarin {

// Writes one property of one control; a host such as Qt Designer passes its own, so
// that the form keeps the value and the change can be undone.
using PropertyWriter = std::function<void(QObject* control, const char* name, const QVariant& value)>;

class TOLVARIN_EXPORT OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(QWidget* parent = nullptr);

    // The host chose the controls to edit: the first one is read, by property name.
    void SelectionChanged(const QList<QObject*>& controls);
    // Writes the page into the first control, by name, in the page's order: Style,
    // Appearance, IconAlign, DisabledNewStyleB, ShowFocus, DisabledNewStyle, FR; only
    // the values the user changed since the page read the control are written.
    // Returns an error text when FR could not be written (the others stay written).
    QString ApplyChanges(const QList<QObject*>& controls, const PropertyWriter& write = {});

    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    QCheckBox* chkDisabledNewStyle;
    QCheckBox* Check1;
    QCheckBox* chkShowFocus;
    QLabel* lblMousePointer;
    QLineEdit* Text1;
    QLabel* Label1;
    QComboBox* Combo2;
    QLabel* Label3;
    QComboBox* Combo4;
    QLabel* Label6;
    QComboBox* Combo1;
    QLabel* Label4;
    QLabel* Label5;

signals:
    void changedChanged(bool changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the page shows for each property, as a value of the control.
    QVariantHash shownValues() const;

    bool m_changed = false;
    // The values read from the control (or last written to it), to write only changes.
    QVariantHash m_read;
};

class TOLVARIN_EXPORT AboutPage : public QWidget {
    Q_OBJECT
public:
    // `open` hands a link to the desktop; tests record it.
    explicit AboutPage(std::function<void(const QUrl&)> open = {}, QWidget* parent = nullptr);

    QLabel* LabelC; // the e-mail address
    QLabel* LabelD; // the web address

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QUrl&)> m_open;
};

// Both pages, "关于" first, with OK, Cancel and Apply (Apply is on while the Options
// page holds changes).
class TOLVARIN_EXPORT PropertyPagesDialog : public QDialog {
    Q_OBJECT
public:
    PropertyPagesDialog(const QList<QObject*>& controls, const PropertyWriter& write = {}, QWidget* parent = nullptr);

    OptionsPage* options() const { return m_options; }
    AboutPage* about() const { return m_about; }
    QTabWidget* tabs() const { return m_tabs; }
    // Applies the Options page; false (after saying why) when FR failed.
    bool apply();
    // Called around each Apply's writes, so a host makes them one change: Qt Designer
    // opens and closes one undo command.
    void setApplyBracket(std::function<void()> begin, std::function<void()> end);

private:
    QList<QObject*> m_controls;
    PropertyWriter m_write;
    std::function<void()> m_beginApply;
    std::function<void()> m_endApply;
    QTabWidget* m_tabs;
    OptionsPage* m_options;
    AboutPage* m_about;
};

} // namespace tolvarin
