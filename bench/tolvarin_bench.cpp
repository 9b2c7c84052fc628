// The button's painting at any size: a face change (the whole face drawn anew) at
// 75 x 23, 800 x 600 and 5000 x 5000, and an icon set, greyed for a disabled button,
// and shadowed for the hover face at 256², 1024² and 3000². Prints name: value lines,
// medians in milliseconds.
#include "Tolvarin_p.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tolvarin;

namespace {

double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A picture of many colours around the mask colour, as a real icon has.
QPixmap icon(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, (x + y) % 7 == 0 ? qRgb(0, 0, 211) : qRgb(x % 256, y % 256, (x * y) % 256));
    return QPixmap::fromImage(image);
}

// The cursor where the bench puts it, no button held, no focus.
class PlacedCursor : public InputProbe {
public:
    PlacedCursor() { install(this); }
    ~PlacedCursor() override { install(nullptr); }
    QPoint cursor{-100, -100};
    QPoint cursorPos(const QWidget*) override { return cursor; }
    quint16 asyncKeyState(int) override { return 0; }
    QWidget* focusWidget() override { return nullptr; }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const QSize size : {QSize(75, 23), QSize(800, 600), QSize(5000, 5000)}) {
        Tolvarin button;
        button.setCaption(QStringLiteral("确定(&O)"));
        button.resize(size);
        int style = 0;
        const int runs = size.width() > 1000 ? 3 : 15;
        const double ms = medianMs(runs, [&] { button.setStyle(++style % 3); });
        std::printf("face_change_%dx%d_ms: %.2f\n", size.width(), size.height(), ms);
    }
    for (const int side : {256, 1024, 3000}) {
        const QPixmap picture = icon(side);
        const int runs = side > 1000 ? 3 : 9;
        Tolvarin button;
        button.setCaption(QStringLiteral("确定"));
        button.resize(side + 200, side + 20);
        const double set = medianMs(runs, [&] {
            button.setICON(QPixmap());
            button.setICON(picture);
        });
        const double disable = medianMs(runs, [&] {
            button.setEnabled(true);
            button.setEnabled(false);
        });
        button.setEnabled(true);
        // The hover face with its grey shadow of the icon: the cursor enters the button.
        button.setAppearance(Tolvarin::TVRN_SolidB);
        PlacedCursor probe;
        double hover = 0;
        {
            std::vector<double> times;
            for (int i = 0; i < runs; ++i) {
                probe.cursor = QPoint(-100, -100);
                tolvarin::TolvarinPrivate::get(&button)->Timer1_Timer();
                probe.cursor = QPoint(10, 10);
                QElapsedTimer clock;
                clock.start();
                tolvarin::TolvarinPrivate::get(&button)->UserControl_MouseMove(0, 0, 10, 10);
                tolvarin::TolvarinPrivate::get(&button)->Timer1_Timer();
                times.push_back(clock.nsecsElapsed() / 1e6);
            }
            std::sort(times.begin(), times.end());
            hover = times[times.size() / 2];
        }
        std::printf("icon_set_%d_ms: %.2f\nicon_disable_%d_ms: %.2f\nicon_hover_%d_ms: %.2f\n", side, set, side,
                    disable, side, hover);
    }
    return 0;
}
