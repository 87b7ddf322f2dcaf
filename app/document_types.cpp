#include "document_types.h"

#include "device/instrument_window.h"
#include "docs/data_windows.h"
#include "generator/generator_window.h"
#include "meter/meter_command_ids.h"
#include "meter/meter_frame.h"
#include "meter/meter_view.h"
#include "scope/capture_window.h"
#include "scope/scope_menu.h"
#include "scope/scope_setup_files.h"
#include "scope/scope_window.h"
#include "shell/command_ids.h"
#include "shell/oscilane_app.h"

namespace oscilane {

void registerDocumentTypes(OscilaneApp& app) {
    DocumentTemplate scope = makeDocumentTemplate(
        res::kScopeTemplate, "\nScope\nScope\n\n\nScope.Document\nScope Document", "DigitalScope%1",
        "Digital Scope", ":/icons/browser_scope.png");
    scope.menu = scopeWindowMenu();
    scope.createView = createScopeView;
    scope.createFrame = createScopeFrame;
    app.registerTemplate(std::move(scope));

    DocumentTemplate meter = makeDocumentTemplate(
        res::kMeterTemplate, "\nMeter\nMeter\n\n\nMeter.Document\nMeter Document", "DigitalMeter%1",
        "Digital Meter", ":/icons/browser_meter.png");
    meter.menu = instrumentWindowMenu(cmd::kMeterSave);
    meter.createView = createMeterView;
    meter.createFrame = createMeterFrame;
    app.registerTemplate(std::move(meter));

    // The generator window is a registered type that users cannot create.
    DocumentTemplate generator = makeDocumentTemplate(
        res::kGeneratorTemplate, "\nDDS\nDDS\n\n\nDDS.Document\nDDS Document",
        "Arbitrary Function Generator%1", "Function Generator", ":/icons/browser_generator.png");
    generator.menu = generatorWindowMenu();
    generator.createView = createGeneratorView;
    generator.createFrame = createGeneratorFrame;
    app.registerTemplate(std::move(generator));

    // A file opens as its type would: a generator waveform in the generator
    // window, a setup recalled into the scope window, anything else as a
    // capture (which says why when it is none).
    app.setFileOpening(
        [&app](const QString& path) {
            if (isGeneratorCsvFile(path)) return openGeneratorCsv(app, path);
            if (isSetupFile(path)) return recallSetupInActiveWindow(app, path);
            return openCaptureFile(app, path) != nullptr;
        },
        askCaptureFile);

    app.registerTemplate(sheetTemplate());
    app.registerTemplate(recorderTemplate());
}

}  // namespace oscilane
