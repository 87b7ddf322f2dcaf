// The application object: the registered document types, the per-type
// ordered lists of open documents (from which new documents take their
// numbers) and the application-wide commands.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "shell/command_map.h"
#include "shell/document_catalog.h"
#include "shell/document_template.h"

class QPrinter;

namespace oscilane {

class MainFrame;

class OscilaneApp : public QObject, public DocumentCatalog, public CommandTarget {
    Q_OBJECT
  public:
    // Picks the type of a new document; nothing when the user cancels.
    using TypeChooser = std::function<std::optional<int>()>;

    OscilaneApp();
    ~OscilaneApp() override;

    // Types are numbered in the order they are registered, before the main frame exists.
    void registerTemplate(DocumentTemplate documentTemplate);
    int typeCount() const { return static_cast<int>(templates_.size()); }
    const DocumentTemplate& documentTemplate(int type) const { return *templates_.at(type); }

    MainFrame& createMainFrame();
    MainFrame* mainFrame() const { return mainFrame_.get(); }

    const std::vector<Document*>& documents(int type) const { return lists_.at(type); }

    Document* newDocument(int type) override;
    // A document of the type whose view createView makes instead of the
    // type's own, named `name` instead of by the type's pattern.
    using ViewFactory = std::function<QWidget*(Document&)>;
    Document* newDocument(int type, const ViewFactory& createView, const QString& name);

    // Opening files (File > Open, the command line, the list of recent
    // files) belongs to the document types that read them: `open` opens one
    // and tells the user when it cannot, `ask` asks for one (none when the
    // user cancels).  Without them the Open command opens nothing.
    using FileOpener = std::function<bool(const QString& path)>;
    using FileAsker = std::function<std::optional<QString>(QWidget* parent)>;
    void setFileOpening(FileOpener open, FileAsker ask);
    bool openFile(const QString& path);
    // Opens the recent file at a place of the list as its type would; one
    // that is gone is taken off the list with a message.
    void openRecentFile(int slot);
    std::optional<DocumentPlace> locate(const Document* document) const override;
    void activateDocument(int type, int index) override;
    void deleteDocument(int type, int index) override;
    void retitleDocument(int type, int index, const QString& name) override;

    // The New command: asks for a type, then creates a document of it.
    void fileNew();
    void setTypeChooser(TypeChooser chooser) { chooser_ = std::move(chooser); }

    // The printer that print setup configures and printing uses.
    QPrinter& printer();

  private:
    void registerCommands();
    bool validType(int type) const { return type >= 0 && type < typeCount(); }
    // The document at (type, index), or none after telling the user so.
    Document* documentAt(int type, int index) const;

    std::vector<std::unique_ptr<DocumentTemplate>> templates_;
    std::vector<std::vector<Document*>> lists_;
    std::unique_ptr<MainFrame> mainFrame_;
    std::unique_ptr<QPrinter> printer_;
    TypeChooser chooser_;
    FileOpener fileOpener_;
    FileAsker fileAsker_;
};

}  // namespace oscilane
