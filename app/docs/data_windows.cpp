#include "docs/data_windows.h"

#include "shell/command_ids.h"
#include "shell/form_view.h"

namespace oscilane {
namespace {

// Both forms are empty pages of the same size.
const QSize kFormSize(564, 298);

DocumentTemplate dataWindow(int resourceId, const char* documentString, const char* namePattern,
                            const char* category, const char* icon, int formId) {
    DocumentTemplate t =
        makeDocumentTemplate(resourceId, documentString, namePattern, category, icon);
    t.createView = [formId](Document& d) { return new FormView(d, formId, kFormSize); };
    return t;
}

}  // namespace

DocumentTemplate sheetTemplate() {
    return dataWindow(res::kSheetTemplate, "\nSheet\nSheet\n\n\nSheet.Document\nSheet Document",
                      "Data Sheet%1", "Data Sheet", ":/icons/browser_sheet.png", res::kSheetForm);
}

DocumentTemplate recorderTemplate() {
    return dataWindow(res::kRecorderTemplate,
                      "\nRecorder\nRecorder\n\n\nRecorder.Document\nRecorder Document", "Record%1",
                      "Recorder", ":/icons/browser_recorder.png", res::kRecorderForm);
}

}  // namespace oscilane
