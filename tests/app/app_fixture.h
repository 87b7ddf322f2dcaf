// The application as start-up builds it, without the splash picture, the
// "New Document" dialog or any message box.
#pragma once

#include <QStandardPaths>
#include <QTest>

#include "document_types.h"
#include "shell/main_frame.h"
#include "shell/message_service.h"
#include "shell/oscilane_app.h"

struct AppFixture {
    oscilane::MessageRecorder messages;
    oscilane::OscilaneApp app;
    oscilane::MainFrame* frame = nullptr;
    bool exposed = false;

    AppFixture() {
        QStandardPaths::setTestModeEnabled(true);
        oscilane::registerDocumentTypes(app);
        frame = &app.createMainFrame();
        frame->resize(1024, 768);
        frame->show();
        exposed = QTest::qWaitForWindowExposed(frame);
    }
};
