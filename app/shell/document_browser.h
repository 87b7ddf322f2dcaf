// The side bar that lists the open documents in a tree: the root, one
// category per document type and an item per document.  From it the user
// adds, activates, renames and deletes documents.
#pragma once

#include <QHash>
#include <QStringList>
#include <memory>

#include "shell/side_bar.h"

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace oscilane {

class Document;
class DocumentCatalog;

class DocumentBrowser : public SideBar {
    Q_OBJECT
  public:
    static constexpr int kMaximumLabelLength = 64;

    // categories: the browser's item for each document type, in type order.
    DocumentBrowser(DocumentCatalog& catalog, const QStringList& categories,
                    QWidget* parent = nullptr);

    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* root() const { return root_; }
    QTreeWidgetItem* category(int type) const;

    // Lists a new document at the end of its category, selected.
    void addDocumentItem(int type, Document* document);
    void removeDocumentItem(const Document* document);
    Document* documentOf(const QTreeWidgetItem* item) const { return documents_.value(item); }
    QTreeWidgetItem* itemOf(const Document* document) const;

    // The context menu for a right click on item (none when the click hit no item).
    std::unique_ptr<QMenu> contextMenuFor(const QTreeWidgetItem* item);
    void renameSelected();
    void deleteSelected();
    // What a finished label edit of item to text does.
    void finishLabelEdit(QTreeWidgetItem* item, const QString& text);

  protected:
    void layoutContents() override;

  private:
    void showContextMenu(const QPoint& pos);
    void activate(QTreeWidgetItem* item);
    void loadImages();

    DocumentCatalog& catalog_;
    QTreeWidget* tree_;
    QTreeWidgetItem* root_;
    QList<QIcon> images_;  // image 0 the root, image t + 1 type t
    QHash<const QTreeWidgetItem*, Document*> documents_;
};

}  // namespace oscilane
