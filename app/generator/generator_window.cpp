#include "generator/generator_window.h"

#include <QFile>

#include "device/instrument_window.h"
#include "generator/generator_frame.h"
#include "generator/generator_ids.h"
#include "generator/generator_session.h"
#include "generator/generator_view.h"
#include "generator/generator_window_texts.h"
#include "model/generator_texts.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/message_service.h"
#include "shell/oscilane_app.h"

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

bool isGeneratorCsvFile(const QString& path) {
    QFile file(path);
    const QByteArray key(generator_text::kClockKey);
    return file.open(QIODevice::ReadOnly) && file.read(key.size()) == key;
}

bool openGeneratorCsv(OscilaneApp& app, const QString& path) {
    ChildFrame* active = app.mainFrame() ? app.mainFrame()->activeChildFrame() : nullptr;
    if (auto* view = active ? qobject_cast<GeneratorView*>(active->view()) : nullptr)
        return view->loadCsvFile(path);
    showMessage(QString::fromLatin1(gentext::kOpenInGeneratorWindow).arg(path),
                MessageKind::Warning);
    return false;
}

ChildFrame* createGeneratorFrame(Document& document, QWidget* view) {
    return new GeneratorFrame(document, static_cast<GeneratorView*>(view));
}

}  // namespace oscilane
