#include "scope/capture_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

#include "model/scope_scales.h"
#include "scope/scope_commands.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_report.h"
#include "scope/scope_save.h"
#include "scope/scope_tools.h"
#include "scope/scope_view.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/oscilane_app.h"
#include "shell/recent_files.h"

namespace oscilane {
namespace {

namespace rows = scope_rows;
using K = ScopeCommandKind;

constexpr int kScopeType = 0;

int stepped(int index, int delta, int count) { return std::clamp(index + delta, 0, count - 1); }

}  // namespace

CaptureSource::CaptureSource(Capture capture, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), scales_(FitCaptureScales(capture_)) {
    rebuild();
}

void CaptureSource::rebuild() {
    data_.uploadedBlock = CaptureBlock(capture_, scales_);
    newData_ = true;
}

void CaptureSource::Post(QueuedCommand command) {
    ++posted_;
    const auto kind = static_cast<K>(command.kind);
    const int value = static_cast<int>(command.argument);
    const auto scaleOf = [this](std::size_t channel) -> CaptureScale& {
        return scales_.channels[channel];
    };
    if (kind == K::TimeBase) {
        scales_.timeBaseIndex = std::clamp(value, 0, kTimeBaseIndexCount - 1);
    } else if (const auto up = rows::placeIn(rows::kVoltsUp, kind)) {
        scaleOf(*up).voltsIndex = stepped(scaleOf(*up).voltsIndex, 1, kVoltsIndexCount);
    } else if (const auto down = rows::placeIn(rows::kVoltsDown, kind)) {
        scaleOf(*down).voltsIndex = stepped(scaleOf(*down).voltsIndex, -1, kVoltsIndexCount);
    } else if (const auto set = rows::placeIn(rows::kVoltsIndex, kind)) {
        scaleOf(*set).voltsIndex = std::clamp(value, 0, kVoltsIndexCount - 1);
    } else if (const auto probe = rows::placeIn(rows::kProbe, kind)) {
        scaleOf(*probe).probeIndex = std::clamp(value, 0, 3);
    } else if (const auto lever = rows::placeIn(rows::kPosition, kind)) {
        scaleOf(*lever).lever = std::clamp(value, 0, kLeverMax);
    } else if (const auto shown = rows::placeIn(rows::kShown, kind)) {
        scaleOf(*shown).shown = value != 0;
    } else {
        return;  // a setting of the instrument: a capture has none
    }
    rebuild();
}

QWidget* createCaptureView(Document& document, Capture capture) {
    auto* source = new CaptureSource(std::move(capture));
    auto* view = new ScopeView(document, source->link());
    source->setParent(view);
    installScopeTools(*view, source->link());
    installScopeSave(view, view->commands(), source->link().data, *source);
    installScopeReport(view, view->commands(), source->link().data);
    return view;
}

QString cannotOpenCaptureText(const QString& path, const CaptureReadError& error) {
    return QString::fromLatin1(msg::kCannotOpenFile)
        .arg(QFileInfo(path).fileName() + QStringLiteral(": ") +
             QString::fromStdString(error.text()));
}

Document* openCaptureFile(OscilaneApp& app, const QString& path) {
    CaptureReadResult read = ReadCaptureFile(path.toStdString());
    if (const auto* error = std::get_if<CaptureReadError>(&read)) {
        showMessage(cannotOpenCaptureText(path, *error), MessageKind::Error);
        return nullptr;
    }
    auto capture = std::make_shared<Capture>(std::move(std::get<Capture>(read)));
    noteRecentFile(path);
    return app.newDocument(
        kScopeType,
        [capture](Document& document) { return createCaptureView(document, std::move(*capture)); },
        QFileInfo(path).fileName());
}

std::optional<QString> askCaptureFile(QWidget* parent) {
    const QString path =
        QFileDialog::getOpenFileName(parent, QString::fromLatin1(scopefiletext::kOpenCaptureTitle),
                                     {}, QString::fromLatin1(scopefiletext::kOpenCaptureFilters));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace oscilane
