#include "startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <optional>

#include "device/connect_target.h"
#include "device/instrument_window.h"
#include "document_types.h"
#include "shell/child_frame.h"
#include "shell/document.h"
#include "shell/main_frame.h"
#include "shell/oscilane_app.h"
#include "shell/single_instance.h"
#include "shell/splash_window.h"
#include "zelvo_version.h"

namespace oscilane {
namespace {

const char* const kTypeNames[] = {"scope", "meter", "generator", "sheet", "recorder"};
// Time for the maximised frame to lay out before a screenshot is taken.
constexpr int kScreenshotDelayMs = 500;

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// What the first document is: a type number, or none at all.
constexpr int kNoDocument = -1;

// The type named on the command line, kNoDocument for "none", nothing when unknown.
std::optional<int> typeNamed(const QString& name) {
    if (name == QLatin1String("none")) return kNoDocument;
    for (int type = 0; type < static_cast<int>(std::size(kTypeNames)); ++type)
        if (name == QLatin1String(kTypeNames[type])) return type;
    return std::nullopt;
}

}  // namespace

int runOscilane(int argc, char** argv) {
    // The version is asked for by scripts and package tools, often without a display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Oscilane %s\n", ZELVO_VERSION);
            return 0;
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
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Oscilane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Oscilane for Zelvo"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption noLogo(QStringLiteral("nologo"),
                              QStringLiteral("Start without the splash picture."));
    QCommandLineOption newType(
        QStringLiteral("new"),
        QStringLiteral("Open a first document of TYPE (scope, meter, sheet, recorder or none) "
                       "instead of asking."),
        QStringLiteral("TYPE"));
    QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the main window to FILE and quit."),
        QStringLiteral("FILE"));
    QCommandLineOption connectTo(
        QStringLiteral("connect"),
        QStringLiteral("Connect the first document (a scope unless --new names a meter) to the "
                       "instrument at lan:ADDRESS, usb:N or serial:N."),
        QStringLiteral("INSTRUMENT"));
    parser.addOptions({noLogo, newType, screenshot, connectTo});
    parser.process(qapp);

    // Unset: ask with the New Document dialog.
    std::optional<int> firstType;
    if (parser.isSet(newType)) {
        firstType = typeNamed(parser.value(newType));
        if (!firstType) {
            QTextStream(stderr) << "unknown document type: " << parser.value(newType) << "\n";
            return 2;
        }
    } else if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
               QGuiApplication::platformName() == QLatin1String("minimal")) {
        // Nobody can answer the New Document dialog here; take its default choice.
        firstType = 0;
    }

    std::optional<LinkSettings> instrument;
    if (parser.isSet(connectTo)) {
        QString error;
        instrument = settingsForConnectTarget(parser.value(connectTo), &error);
        if (!instrument) {
            QTextStream(stderr) << "--connect: " << error << "\n";
            return 2;
        }
        // The instrument needs a window: a scope unless another type is named.
        if (!firstType || *firstType == kNoDocument) firstType = 0;
    }

    SingleInstance instance(QStringLiteral("Oscilane"));
    if (!instance.acquire()) return instance.askRunningInstanceToShow() ? 0 : 1;

    SplashWindow* splash = nullptr;
    if (!parser.isSet(noLogo) && !parser.isSet(screenshot)) {
        splash = new SplashWindow(QPixmap(QStringLiteral(":/icons/splash.png")));
        splash->show();
    }

    OscilaneApp app;
    registerDocumentTypes(app);
    MainFrame& frame = app.createMainFrame();
    QObject::connect(&instance, &SingleInstance::showRequested, &frame,
                     &MainFrame::restoreAndRaise);
    if (splash)
        QObject::connect(splash, &SplashWindow::finished, &frame, [&frame] { frame.update(); });

    if (firstType) {
        Document* first = *firstType != kNoDocument ? app.newDocument(*firstType) : nullptr;
        if (instrument && first && !first->frames().isEmpty()) {
            // A failure is shown to the user and written to standard error; the
            // window stays, disconnected.
            if (InstrumentWindow* window = InstrumentWindow::of(*first->frames().first()->view()))
                connectNamedInstrument(*window, *instrument);
        }
    } else {
        app.fileNew();
    }
    frame.showMaximized();

    int status = 0;
    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
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
