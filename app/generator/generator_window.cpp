#include "generator/generator_window.h"

#include "device/instrument_window.h"
#include "generator/generator_frame.h"
#include "generator/generator_session.h"
#include "generator/generator_view.h"

namespace oscilane {

QWidget* createGeneratorView(Document& document) {
    CDeviceLink& link = deviceLinkOf(document);
    GeneratorSession& session = link.adoptSession(std::make_unique<GeneratorSession>());
    auto* view =
        new GeneratorView(document, session.wave(), link, [&link] { return link.isConnected(); });
    new InstrumentWindow(*view, view->commands(), document);
    return view;
}

ChildFrame* createGeneratorFrame(Document& document, QWidget* view) {
    return new GeneratorFrame(document, static_cast<GeneratorView*>(view));
}

}  // namespace oscilane
