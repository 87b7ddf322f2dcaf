#include "shell/oscilane_app.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>

#include "shell/about_dialog.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_browser.h"
#include "shell/main_frame.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/new_document_dialog.h"
#include "shell/recent_files.h"

namespace oscilane {
namespace {

// The new-document commands, in type order.
constexpr int kNewCommands[] = {cmd::kNewScope, cmd::kNewMeter, cmd::kNewGenerator, cmd::kNewSheet,
                                cmd::kNewRecorder};
constexpr int kGeneratorType = 2;

}  // namespace

OscilaneApp::OscilaneApp() {
    chooser_ = [this] {
        NewDocumentDialog dialog(mainFrame_.get());
        return dialog.chooseType();
    };
    registerCommands();
}

OscilaneApp::~OscilaneApp() = default;

void OscilaneApp::registerTemplate(DocumentTemplate documentTemplate) {
    templates_.push_back(std::make_unique<DocumentTemplate>(std::move(documentTemplate)));
    lists_.emplace_back();
}

MainFrame& OscilaneApp::createMainFrame() {
    QStringList categories;
    for (const auto& t : templates_) categories.append(t->categoryName);
    mainFrame_ = std::make_unique<MainFrame>(*this, *this, categories);
    return *mainFrame_;
}

void OscilaneApp::registerCommands() {
    CommandMap& c = commands();
    c.on(cmd::kFileNew, [this] { fileNew(); });
    c.on(cmd::kFileOpen, [this] {
        if (!fileAsker_) return;
        if (const std::optional<QString> path = fileAsker_(mainFrame_.get())) openFile(*path);
    });
    for (int slot = 0; slot < cmd::kRecentFileCount; ++slot) {
        c.on(
            cmd::kRecentFile1 + slot, [this, slot] { openRecentFile(slot); },
            [slot] {
                return CommandState{recentFiles() && slot < recentFiles()->files().size(), false};
            });
    }
    c.on(cmd::kPrintSetup, [this] {
        QPageSetupDialog dialog(&printer(), mainFrame_.get());
        dialog.exec();
    });
    c.on(cmd::kAppAbout, [this] {
        AboutDialog dialog(mainFrame_.get());
        dialog.exec();
    });
    c.on(cmd::kLanguageEnglish,
         [] { showMessage(QString::fromLatin1(msg::kEnglish), MessageKind::Information); });
    c.on(cmd::kLanguageChinese,
         [] { showMessage(QString::fromLatin1(msg::kChinese), MessageKind::Information); });
    for (int type = 0; type < static_cast<int>(std::size(kNewCommands)); ++type) {
        // The generator window exists as a type but is never created by the user.
        CommandMap::Update update;
        if (type == kGeneratorType) update = [] { return CommandState{false, false}; };
        c.on(
            kNewCommands[type], [this, type] { newDocument(type); }, update);
    }
}

QPrinter& OscilaneApp::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void OscilaneApp::fileNew() {
    if (std::optional<int> type = chooser_()) newDocument(*type);
}

void OscilaneApp::setFileOpening(FileOpener open, FileAsker ask) {
    fileOpener_ = std::move(open);
    fileAsker_ = std::move(ask);
}

bool OscilaneApp::openFile(const QString& path) {
    if (!fileOpener_) {
        showMessage(QString::fromLatin1(msg::kFailedToOpenDocument));
        return false;
    }
    return fileOpener_(path);
}

void OscilaneApp::openRecentFile(int slot) {
    RecentFiles* list = recentFiles();
    if (!list || slot >= list->files().size()) return;
    const QString path = list->files().at(slot);
    if (!QFileInfo::exists(path)) {
        list->forget(path);
        showMessage(QString::fromLatin1(msg::kRecentFileGone).arg(path), MessageKind::Warning);
        return;
    }
    openFile(path);
}

Document* OscilaneApp::newDocument(int type) {
    if (!validType(type)) {
        showMessage(QString::fromLatin1(msg::kFailedToCreateDocument), MessageKind::Error);
        return nullptr;
    }
    return newDocument(type, templates_[type]->createView, {});
}

Document* OscilaneApp::newDocument(int type, const ViewFactory& createView, const QString& name) {
    if (!validType(type) || !mainFrame_) {
        showMessage(QString::fromLatin1(msg::kFailedToCreateDocument), MessageKind::Error);
        return nullptr;
    }
    const DocumentTemplate& t = *templates_[type];
    Document* document = t.createDocument ? t.createDocument(t) : new Document(t);
    document->setParent(this);
    QWidget* view = createView(*document);
    ChildFrame* frame =
        t.createFrame ? t.createFrame(*document, view) : new ChildFrame(*document, view);
    mainFrame_->addChildFrame(frame);

    // The number is the list's length, so a deleted document's number comes back.
    std::vector<Document*>& list = lists_[type];
    list.push_back(document);
    document->setName(name.isEmpty() ? t.titleFor(static_cast<qsizetype>(list.size())) : name);
    mainFrame_->browser()->addDocumentItem(type, document);
    return document;
}

std::optional<DocumentPlace> OscilaneApp::locate(const Document* document) const {
    if (!document) return std::nullopt;
    for (int type = 0; type < typeCount(); ++type) {
        const std::vector<Document*>& list = lists_[type];
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i] == document) return DocumentPlace{type, static_cast<int>(i)};
    }
    return std::nullopt;
}

Document* OscilaneApp::documentAt(int type, int index) const {
    // An index outside the list is as wrong as a type outside the types.
    if (!validType(type) || index < 0 || index >= static_cast<int>(lists_[type].size())) {
        showMessage(QString::fromLatin1(msg::kErrorParameter));
        return nullptr;
    }
    return lists_[type][static_cast<size_t>(index)];
}

void OscilaneApp::activateDocument(int type, int index) {
    Document* document = documentAt(type, index);
    if (!document) return;
    for (ChildFrame* frame : document->frames()) {
        frame->show();
        mainFrame_->mdiArea()->setActiveSubWindow(frame);
        frame->raise();
    }
}

void OscilaneApp::deleteDocument(int type, int index) {
    Document* document = documentAt(type, index);
    if (!document) return;
    for (ChildFrame* frame : document->frames()) frame->closeForGood();
    mainFrame_->browser()->removeDocumentItem(document);
    std::vector<Document*>& list = lists_[type];
    list.erase(list.begin() + index);
    // Frames closed above are deleted later; the document goes after them.
    document->deleteLater();
}

void OscilaneApp::retitleDocument(int type, int index, const QString& name) {
    if (Document* document = documentAt(type, index)) document->setName(name);
}

}  // namespace oscilane
