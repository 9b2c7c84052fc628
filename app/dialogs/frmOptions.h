#pragma once

#include "platform/Services.h"

#include <QDialog>
#include <QVariant>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;

namespace Ui {
class frmOptions;
}

namespace tolvarin {
class Tolvarin;
}

namespace qelvane {

class ColorSwatch;

// Fonts, text and background colours of the main window's four reading areas, and
// the background music. The main window fills it through the setters before each
// showing and reads it back through the getters when it reports OptionChanged.
// Fonts are indexed 1 to 4, background colours 0 to 3 (the same areas: poem titles,
// biography, poem text, notes). An index out of range is the caller's error: it
// asserts in a debug build and is ignored otherwise.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(const Services& services, QWidget* parent = nullptr);
    ~frmOptions() override;

    void SetMusicName(const QString& strName);
    QVariant GetMusicName() const { return m_musicName; }
    QString GetFontName(int Index) const;
    void SetFontName(int Index, const QString& strName);
    QString GetFontSize(int Index) const;
    void SetFontSize(int Index, const QString& strSize);
    qint32 GetFontColor(int Index) const;
    void SetFontColor(int Index, qint32 lngColor);
    qint32 GetBackColor(int Index) const;
    void SetBackColor(int Index, qint32 lngColor);

    // A point size as the dialog writes it: decimal, without trailing zeros.
    static QString sizeText(double points);

signals:
    void OptionChanged();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();
    void cmdFont_Click(int Index);
    void picColor_DblClick(int Index);
    void cmdSearch_Click();
    void chkMusic_Click();
    void musicBoxChanged();
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void paintArea(int fontIndex);

    std::unique_ptr<Ui::frmOptions> ui;
    // txtFont(1..4), cmdFont(1..4) (element 0 unused), picColor(0..3).
    std::array<QLineEdit*, 5> txtFont{};
    std::array<tolvarin::Tolvarin*, 5> cmdFont{};
    std::array<ColorSwatch*, 4> picColor{};
    Services m_services;
    std::array<QString, 5> m_fontNames;
    std::array<QString, 5> m_fontSizes;
    std::array<qint32, 5> m_fontColors{};
    std::array<qint32, 4> m_backColors{};
    QString m_musicName;
};

} // namespace qelvane
