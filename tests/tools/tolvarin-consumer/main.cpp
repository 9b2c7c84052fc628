// Shows a Tolvarin button and says whether its caption was drawn: dark text pixels on
// the light face.
#include <tolvarin/Tolvarin.h>

#include <QApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tolvarin::Tolvarin button;
    button.setCaption(QStringLiteral("确定(&O)"));
    button.resize(90, 30);
    button.show();
    const QImage shown = button.grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            dark += qGray(shown.pixel(x, y)) < 100;
    std::printf("caption %s, %d dark pixels\n", qPrintable(button.Caption()), dark);
    return dark > 20 ? 0 : 1;
}
