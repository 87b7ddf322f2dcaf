// The command line of Oscilane: its options, and what a launch asks for
// (which document to open first, which instrument to connect it to).  The
// first start and a later start forwarded to the running instance read a
// command line the same way.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

#include "device/link_settings.h"

namespace oscilane {

class OscilaneApp;

// What the first document is: a type number, or none at all.
inline constexpr int kNoDocument = -1;

struct LaunchRequest {
    // Unset: ask with the New Document dialog (or, for a forwarded launch,
    // only bring the running instance to the front).
    std::optional<int> firstType;
    std::optional<LinkSettings> instrument;
    // Files named on the command line, opened each in a window of its own.
    QStringList files;
};

class LaunchOptions {
  public:
    LaunchOptions();

    QCommandLineParser& parser() { return parser_; }
    bool noLogo() const { return parser_.isSet(noLogo_); }
    std::optional<QString> screenshot() const;

    // What the parsed command line asks for; none with the reason when a
    // value is wrong.  `mustChoose` takes the New Document dialog's default
    // choice where nobody could answer it.
    std::optional<LaunchRequest> request(bool mustChoose, QString* error) const;

  private:
    QCommandLineParser parser_;
    QCommandLineOption noLogo_;
    QCommandLineOption newType_;
    QCommandLineOption screenshot_;
    QCommandLineOption connectTo_;
};

// The command line a later start hands to the running instance: the files
// it names made absolute, as the running instance has a folder of its own.
QStringList forwardedArguments(const QStringList& arguments, LaunchOptions& parsed);

// Opens what a launch asks for in the running application.
void openRequested(OscilaneApp& app, const LaunchRequest& request);

// The running instance's answer to a later start's command line: an empty
// text when it accepted it (and will open what it asks for), else the reason.
QString acceptForwardedLaunch(OscilaneApp& app, const QStringList& arguments);

}  // namespace oscilane
