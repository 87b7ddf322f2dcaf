#include "generator/generator_window.h"

#include "device/instrument_window.h"
#include "generator/generator_frame.h"
#include "generator/generator_ids.h"
#include "generator/generator_session.h"
#include "generator/generator_view.h"
#include "generator/generator_window_texts.h"

namespace oscilane {

QWidget* createGeneratorView(Document& document) {
    CDeviceLink& link = deviceLinkOf(document);
    GeneratorSession& session = link.adoptSession(std::make_unique<GeneratorSession>());
    auto* view =
        new GeneratorView(document, session.wave(), link, [&link] { return link.isConnected(); });
    new InstrumentWindow(*view, view->commands(), document);
    return view;
}

MenuBarLayout generatorWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(gencmd::kSave);
    for (MenuItem& menu : layout) {
        for (qsizetype i = 0; i < menu.items.size(); ++i) {
            if (menu.items[i].command != gencmd::kSave) continue;
            menu.items[i].text = QString::fromLatin1(gentext::kSaveCsvItem);
            menu.items.insert(
                i + 1,
                MenuItem{
                    gencmd::kOpenCsv, QString::fromLatin1(gentext::kOpenCsvItem), {}, false, {}});
            return layout;
        }
    }
    return layout;
}

ChildFrame* createGeneratorFrame(Document& document, QWidget* view) {
    return new GeneratorFrame(document, static_cast<GeneratorView*>(view));
}

}  // namespace oscilane
