// Program entry of Tessaro: application, translation, colour conversion, main window,
// event loop, and the user settings file written when the loop has ended. With --batch
// (or --help) the target is made from the command line instead (batchmode.h), on the
// offscreen platform unless another one is asked for, and no user settings are written.
#include "ColorUtil.h"
#include "ColorUtilQt.h"
#include "SuiteEnvironment.h"
#include "batchmode.h"
#include "tessaro.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    const bool batch = BatchMode::isBatchInvocation(argc, argv);
    // The platform plugin is chosen when the application object is made: a batch run
    // needs no display.
    if (batch) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        BatchMode::installMessageFilter();
    }
    auto application = std::make_unique<QApplication>(argc, argv);

    // A missing translation leaves the texts of the source.
    auto translator = std::make_unique<QTranslator>();
    (void)translator->load(QStringLiteral("tessaro_") + QStringLiteral("en"), QString(), QString(), QString());
    QApplication::installTranslator(translator.get());

    InitTessaroResources();
    const QByteArray profile = OutputCMYKProfileBytes();
    if (!ColorUtil::Init(reinterpret_cast<const unsigned char *>(profile.constData()),
                         static_cast<std::size_t>(profile.size()))) {
        const QString text = QCoreApplication::translate("main", "The colour conversion could not be initialised: ") +
                             QString::fromStdString(ColorUtil::LastError());
        if (batch)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        else
            QMessageBox::critical(nullptr, QString::fromLatin1(SuiteEnvironment::SuiteDisplayName), text);
        return 1;
    }

    if (batch) {
        QFile out;
        QFile err;
        (void)out.open(stdout, QIODevice::WriteOnly);
        (void)err.open(stderr, QIODevice::WriteOnly);
        const int exitCode = BatchMode::main(QCoreApplication::arguments(), &out, &err);
        out.close();
        err.close();
        QApplication::removeTranslator(translator.get());
        translator.reset();
        ColorUtil::Shutdown();
        application.reset();
        return exitCode;
    }

    auto window = std::make_unique<Tessaro>();
    window->showMaximized();
    const int exitCode = QApplication::exec();

    window->saveUserSettings();
    window.reset();
    QApplication::removeTranslator(translator.get());
    translator.reset();
    ColorUtil::Shutdown();
    application.reset();
    return exitCode;
}
