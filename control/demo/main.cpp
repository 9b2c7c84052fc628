// tolvarin-demo: every look of the Tolvarin button, and a few live ones to try.
#include "Tolvarin_p.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

using tolvarin::Tolvarin;

namespace {

// A 16 x 16 icon on the default mask colour RGB(0, 0, 211), which is shown transparent.
QPixmap icon(const QColor& colour, bool cross)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(0, 0, 211));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 3));
    if (cross) {
        painter.drawLine(3, 3, 12, 12);
        painter.drawLine(12, 3, 3, 12);
    } else {
        painter.drawLine(2, 8, 6, 12);
        painter.drawLine(6, 12, 13, 3);
    }
    return pixmap;
}

Tolvarin* button(QWidget* parent, const QString& caption, int style, int appearance, bool withIcon)
{
    auto* b = new Tolvarin(parent);
    b->setCaption(caption);
    b->setStyle(style);
    b->setAppearance(appearance);
    if (withIcon) {
        b->setICON(icon(QColor(0, 140, 60), false));
        b->setIconAlign(Tolvarin::TVRN_Left);
    }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tolvarin 按钮控件"));
    auto* layout = new QVBoxLayout(&window);

    // Each look drawn as it is, one column a face state.
    auto* looks = new QGroupBox(QStringLiteral("三种配色 × 五种状态"), &window);
    auto* grid = new QGridLayout(looks);
    const QStringList states = {QStringLiteral("正常"), QStringLiteral("按下"), QStringLiteral("不可用"),
                                QStringLiteral("悬停"), QStringLiteral("焦点")};
    const QStringList styles = {QStringLiteral("SysColorNET"), QStringLiteral("SysCplorFlat"),
                                QStringLiteral("SysColorPopup")};
    for (int s = 0; s < states.size(); ++s)
        grid->addWidget(new QLabel(states[s]), 0, s + 1, Qt::AlignCenter);
    QList<QPair<Tolvarin*, int>> frozen;
    for (int style = 0; style < 3; ++style) {
        grid->addWidget(new QLabel(styles[style]), style + 1, 0);
        for (int state = 0; state < 5; ++state) {
            Tolvarin* b = button(looks, QStringLiteral("确定(&O)"), style, 0, style != 1);
            b->setAttribute(Qt::WA_TransparentForMouseEvents);
            b->setFocusPolicy(Qt::NoFocus);
            grid->addWidget(b, style + 1, state + 1);
            frozen.append({b, state});
        }
    }
    layout->addWidget(looks);

    auto* live = new QGroupBox(QStringLiteral("试一试：三种按下效果，带图标与不带图标"), &window);
    auto* row = new QGridLayout(live);
    auto* said = new QLabel(QStringLiteral("单击一个按钮"), &window);
    const QStringList appearances = {QStringLiteral("Flat"), QStringLiteral("Solid"), QStringLiteral("SolidB")};
    for (int appearance = 0; appearance < 3; ++appearance) {
        for (int withIcon = 0; withIcon < 2; ++withIcon) {
            Tolvarin* b = button(live, appearances[appearance], appearance, appearance, withIcon);
            row->addWidget(b, withIcon, appearance);
            QObject::connect(b, &Tolvarin::Click, said, [said, b] {
                said->setText(QStringLiteral("Click：%1").arg(b->Caption()));
            });
        }
    }
    Tolvarin* disabled = button(live, QStringLiteral("不可用"), 0, 0, true);
    disabled->setICON(icon(QColor(200, 30, 30), true));
    disabled->setEnabled(false);
    row->addWidget(disabled, 0, 3);
    Tolvarin* classic = button(live, QStringLiteral("经典灰"), 0, 0, true);
    classic->setICON(icon(QColor(200, 30, 30), true));
    classic->setDisabledNewStyle(false);
    classic->setEnabled(false);
    row->addWidget(classic, 1, 3);
    layout->addWidget(live);
    layout->addWidget(said);

    window.show();
    // The frozen looks are painted once the buttons have their size.
    QTimer::singleShot(0, [frozen] {
        for (const auto& [b, state] : frozen)
            tolvarin::TolvarinPrivate::get(b)->DrawButton(state);
    });
    return app.exec();
}
