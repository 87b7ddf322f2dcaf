#include "startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "document_types.h"
#include "launch_options.h"
#include "shell/main_frame.h"
#include "shell/oscilane_app.h"
#include "shell/recent_files.h"
#include "shell/single_instance.h"
#include "shell/splash_window.h"
#include "zelvo_version.h"

namespace oscilane {
namespace {

// Time for the maximised frame to lay out before a screenshot is taken.
constexpr int kScreenshotDelayMs = 500;

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int runOscilane(int argc, char** argv) {
    // --help and --version are answered before any window system is touched:
    // scripts and package tools ask without a display.  A command line this
    // reading refuses may still hold the window system's own options, which
    // only the application object below knows; it reports what is wrong.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    {
        LaunchOptions early;
        QCommandLineParser& parser = early.parser();
        if (parser.parse(arguments) && parser.isSet(QStringLiteral("help"))) {
            QTextStream(stdout) << parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                             QStringLiteral("Oscilane"));
            return 0;
        }
        if (parser.isSet(QStringLiteral("version"))) {
            std::printf("Oscilane %s\n", ZELVO_VERSION);
            return 0;
        }
    }
    if (!hasDisplay()) {
        std::fputs(
            "Oscilane needs a display (X11 or Wayland) and none is set.\n"
            "Without one, run it on Qt's offscreen platform, for example\n"
            "  QT_QPA_PLATFORM=offscreen Oscilane --screenshot oscilane.png\n"
            "or drive an instrument from the command line with the zelvo tool.\n",
            stderr);
        return 2;
    }
    QApplication qapp(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(kSettingsApplication));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));

    LaunchOptions options;
    options.parser().process(qapp);
    // Nobody can answer the New Document dialog on these platforms; take its default choice.
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                          QGuiApplication::platformName() == QLatin1String("minimal");
    QString error;
    const std::optional<LaunchRequest> request = options.request(headless, &error);
    if (!request) {
        QTextStream(stderr) << error << "\n";
        return 2;
    }

    SingleInstance instance(QStringLiteral("Oscilane"));
    if (!instance.acquire()) {
        // The running instance acts on this command line as if it had been started with it.
        QString reason;
        if (instance.forwardLaunch(forwardedArguments(QCoreApplication::arguments(), options),
                                   &reason))
            return 0;
        QTextStream(stderr) << "Oscilane is running but did not take this start: " << reason
                            << "\n";
        return 1;
    }

    SplashWindow* splash = nullptr;
    if (!options.noLogo() && !options.screenshot()) {
        splash = new SplashWindow(QPixmap(QStringLiteral(":/icons/splash.png")));
        splash->show();
    }

    RecentFiles recent(std::make_unique<QSettings>());
    installRecentFiles(&recent);

    OscilaneApp app;
    registerDocumentTypes(app);
    MainFrame& frame = app.createMainFrame();
    QObject::connect(&instance, &SingleInstance::showRequested, &frame,
                     &MainFrame::restoreAndRaise);
    instance.setLaunchHandler(
        [&app](const QStringList& forwarded) { return acceptForwardedLaunch(app, forwarded); });
    if (splash)
        QObject::connect(splash, &SplashWindow::finished, &frame, [&frame] { frame.update(); });

    if (request->firstType || !request->files.isEmpty())
        openRequested(app, *request);
    else
        app.fileNew();
    frame.showMaximized();

    int status = 0;
    if (const std::optional<QString> screenshot = options.screenshot()) {
        const QString path = *screenshot;
        QTimer::singleShot(kScreenshotDelayMs, &frame, [&frame, &status, path] {
            if (!frame.grab().save(path)) {
                QTextStream(stderr) << "cannot write " << path << "\n";
                status = 1;
            }
            QCoreApplication::quit();
        });
    }
    const int loop = qapp.exec();
    return loop != 0 ? loop : status;
}

}  // namespace oscilane
