#include "launch_options.h"

#include <QFileInfo>
#include <QTimer>
#include <iterator>

#include "device/connect_target.h"
#include "device/instrument_window.h"
#include "shell/child_frame.h"
#include "shell/document.h"
#include "shell/oscilane_app.h"

namespace oscilane {
namespace {

const char* const kTypeNames[] = {"scope", "meter", "generator", "sheet", "recorder"};

// The type named on the command line, kNoDocument for "none", nothing when unknown.
std::optional<int> typeNamed(const QString& name) {
    if (name == QLatin1String("none")) return kNoDocument;
    for (int type = 0; type < static_cast<int>(std::size(kTypeNames)); ++type)
        if (name == QLatin1String(kTypeNames[type])) return type;
    return std::nullopt;
}

}  // namespace

LaunchOptions::LaunchOptions()
    : noLogo_(QStringLiteral("nologo"), QStringLiteral("Start without the splash picture.")),
      newType_(QStringLiteral("new"),
               QStringLiteral("Open a first document of TYPE (scope, meter, generator, sheet, "
                              "recorder or none) instead of asking."),
               QStringLiteral("TYPE")),
      screenshot_(QStringLiteral("screenshot"),
                  QStringLiteral("Save a picture of the main window to FILE and quit."),
                  QStringLiteral("FILE")),
      connectTo_(QStringLiteral("connect"),
                 QStringLiteral("Connect the first document (a scope unless --new names a "
                                "meter) to the instrument at lan:ADDRESS, usb:N or serial:N."),
                 QStringLiteral("INSTRUMENT")) {
    parser_.setApplicationDescription(QStringLiteral("Oscilane for Zelvo"));
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOptions({noLogo_, newType_, screenshot_, connectTo_});
    parser_.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("A saved trace to open (data file or CSV)."),
                                  QStringLiteral("[FILE...]"));
}

std::optional<QString> LaunchOptions::screenshot() const {
    if (!parser_.isSet(screenshot_)) return std::nullopt;
    return parser_.value(screenshot_);
}

std::optional<LaunchRequest> LaunchOptions::request(bool mustChoose, QString* error) const {
    LaunchRequest r;
    r.files = parser_.positionalArguments();
    if (parser_.isSet(newType_)) {
        r.firstType = typeNamed(parser_.value(newType_));
        if (!r.firstType) {
            *error = QStringLiteral("unknown document type: ") + parser_.value(newType_);
            return std::nullopt;
        }
    } else if (mustChoose && r.files.isEmpty()) {
        r.firstType = 0;
    }
    if (parser_.isSet(connectTo_)) {
        QString why;
        r.instrument = settingsForConnectTarget(parser_.value(connectTo_), &why);
        if (!r.instrument) {
            *error = QStringLiteral("--connect: ") + why;
            return std::nullopt;
        }
        // The instrument needs a window: a scope unless another type is named.
        if (!r.firstType || *r.firstType == kNoDocument) r.firstType = 0;
    }
    return r;
}

QStringList forwardedArguments(const QStringList& arguments, LaunchOptions& parsed) {
    const QStringList files = parsed.parser().positionalArguments();
    QStringList forwarded = arguments;
    for (qsizetype i = 1; i < forwarded.size(); ++i)
        if (files.contains(forwarded[i])) forwarded[i] = QFileInfo(forwarded[i]).absoluteFilePath();
    return forwarded;
}

void openRequested(OscilaneApp& app, const LaunchRequest& request) {
    for (const QString& file : request.files) app.openFile(file);
    if (!request.firstType || *request.firstType == kNoDocument) return;
    Document* first = app.newDocument(*request.firstType);
    if (!request.instrument || !first || first->frames().isEmpty()) return;
    // A failure is shown to the user and written to standard error; the
    // window stays, disconnected.
    if (InstrumentWindow* window = InstrumentWindow::of(*first->frames().first()->view()))
        connectNamedInstrument(*window, *request.instrument);
}

QString acceptForwardedLaunch(OscilaneApp& app, const QStringList& arguments) {
    LaunchOptions options;
    if (!options.parser().parse(arguments)) return options.parser().errorText();
    if (options.screenshot())
        return QStringLiteral("--screenshot cannot be handed to a running Oscilane");
    QString error;
    const std::optional<LaunchRequest> request = options.request(false, &error);
    if (!request) return error;
    // Answered first, opened after: the later start is not kept waiting on
    // an instrument or on a message box.
    QTimer::singleShot(0, &app, [&app, r = *request] { openRequested(app, r); });
    return {};
}

}  // namespace oscilane
