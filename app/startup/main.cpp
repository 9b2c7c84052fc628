#include "FatalReport.h"
#include "MainSub.h"
#include "QelvaneApplication.h"
#include "platform/FluidSynthBackend.h"
#include "platform/SettingsStore.h"
#include "ui/Fonts.h"

#include <exception>

int main(int argc, char** argv)
{
    qelvane::QelvaneApplication app(argc, argv);
    app.loadChineseTexts();
    qelvane::fonts::installReadingFonts();

    qelvane::SettingsStore settings;
    qelvane::MainSub::Environment environment;
    environment.applicationFolder = QCoreApplication::applicationDirPath();
    environment.settings = &settings;
    environment.makeMusicBackend = [] { return qelvane::makeFluidSynthBackend(); };

    try {
        qelvane::MainSub::Start(environment);
    } catch (const std::exception& failure) {
        qelvane::reportFatal(QString::fromUtf8(failure.what()));
        qelvane::MainSub::Finish();
        return EXIT_FAILURE;
    }
    const int status = app.exec();
    qelvane::MainSub::Finish();
    return status;
}
