#include "shell/document_browser.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_catalog.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"

namespace oscilane {
namespace {

const char* const kImagePaths[] = {
    ":/icons/browser_root.png",      ":/icons/browser_scope.png", ":/icons/browser_meter.png",
    ":/icons/browser_generator.png", ":/icons/browser_sheet.png", ":/icons/browser_recorder.png",
};

// Tree position of the document browser inside its bar.
constexpr int kTreeLeft = 4;
constexpr int kTreeTop = 34;

// Label editing: a length limit on the way in, the browser's rules on the way out.
class LabelDelegate final : public QStyledItemDelegate {
  public:
    LabelDelegate(DocumentBrowser& browser, QObject* parent)
        : QStyledItemDelegate(parent), browser_(browser) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(DocumentBrowser::kMaximumLabelLength);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) return;
        browser_.finishLabelEdit(browser_.tree()->itemFromIndex(index), line->text());
    }

  private:
    DocumentBrowser& browser_;
};

}  // namespace

DocumentBrowser::DocumentBrowser(DocumentCatalog& catalog, const QStringList& categories,
                                 QWidget* parent)
    : SideBar(QStringLiteral("Document Browser"), parent),
      catalog_(catalog),
      tree_(new QTreeWidget(surface())) {
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setDragDropMode(QAbstractItemView::NoDragDrop);
    tree_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    tree_->setExpandsOnDoubleClick(false);
    // The view does not own its delegate; the tree does, as its parent.
    tree_->setItemDelegate(new LabelDelegate(*this, tree_));
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    loadImages();

    auto image = [this](int i) { return i < images_.size() ? images_[i] : QIcon(); };
    root_ = new QTreeWidgetItem(tree_, {QStringLiteral("Document List")});
    root_->setIcon(0, image(0));
    root_->setFlags(root_->flags() | Qt::ItemIsEditable);
    for (int type = 0; type < categories.size(); ++type) {
        auto* item = new QTreeWidgetItem(root_, {categories[type]});
        item->setIcon(0, image(type + 1));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    tree_->expandAll();

    connect(tree_, &QTreeWidget::customContextMenuRequested, this,
            &DocumentBrowser::showContextMenu);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &DocumentBrowser::activate);
}

void DocumentBrowser::loadImages() {
    for (const char* path : kImagePaths) {
        QPixmap picture(QString::fromLatin1(path));
        if (picture.isNull()) {
            images_.clear();
            showMessage(QString::fromLatin1(msg::kFailedToCreateImageList), MessageKind::Error);
            return;
        }
        images_.append(QIcon(picture));
    }
}

QTreeWidgetItem* DocumentBrowser::category(int type) const {
    return type >= 0 && type < root_->childCount() ? root_->child(type) : nullptr;
}

void DocumentBrowser::addDocumentItem(int type, Document* document) {
    QTreeWidgetItem* parent = category(type);
    if (!parent) return;
    auto* item = new QTreeWidgetItem(parent, {document->title()});
    if (type + 1 < images_.size()) item->setIcon(0, images_[type + 1]);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    documents_.insert(item, document);
    parent->setExpanded(true);
    tree_->setCurrentItem(item);
    tree_->setFocus();
}

QTreeWidgetItem* DocumentBrowser::itemOf(const Document* document) const {
    for (auto it = documents_.cbegin(); it != documents_.cend(); ++it)
        if (it.value() == document) return const_cast<QTreeWidgetItem*>(it.key());
    return nullptr;
}

void DocumentBrowser::removeDocumentItem(const Document* document) {
    QTreeWidgetItem* item = itemOf(document);
    if (!item) return;
    documents_.remove(item);
    delete item;
}

std::unique_ptr<QMenu> DocumentBrowser::contextMenuFor(const QTreeWidgetItem* item) {
    auto menu = std::make_unique<QMenu>();
    QMenu* add = menu->addMenu(QStringLiteral("Add New Document"));
    // The browser adds instrument documents; the generator is never offered.
    add->addAction(QStringLiteral("Scope"), this, [this] { catalog_.newDocument(0); })
        ->setData(cmd::kNewScope);
    add->addAction(QStringLiteral("Meter"), this, [this] { catalog_.newDocument(1); })
        ->setData(cmd::kNewMeter);
    const bool onRoot = item == nullptr || item == root_;
    const bool onCategory = item && item->parent() == root_;
    if (!onRoot)
        menu->addAction(QStringLiteral("Rename"), this, &DocumentBrowser::renameSelected)
            ->setData(cmd::kBrowserRename);
    if (!onRoot && !onCategory)
        menu->addAction(QStringLiteral("Delete"), this, &DocumentBrowser::deleteSelected)
            ->setData(cmd::kBrowserDelete);
    return menu;
}

void DocumentBrowser::showContextMenu(const QPoint& pos) {
    QTreeWidgetItem* item = tree_->itemAt(pos);
    if (item) tree_->setCurrentItem(item);
    contextMenuFor(item)->exec(tree_->viewport()->mapToGlobal(pos));
}

void DocumentBrowser::renameSelected() {
    if (QTreeWidgetItem* item = tree_->currentItem()) tree_->editItem(item);
}

void DocumentBrowser::deleteSelected() {
    Document* document = documentOf(tree_->currentItem());
    if (!document) {
        showMessage(QString::fromLatin1(msg::kRootCannotRemove));
        return;
    }
    if (auto place = catalog_.locate(document))
        catalog_.deleteDocument(place->type, place->index);
    else
        showMessage(QString::fromLatin1(msg::kErrorParameter));
}

void DocumentBrowser::finishLabelEdit(QTreeWidgetItem* item, const QString& text) {
    if (!item) return;
    if (item == root_) {
        showMessage(QString::fromLatin1(msg::kRootCannotRename));
        return;
    }
    const QString name = text.trimmed();
    if (name.isEmpty()) return;
    if (item->parent() != root_) {
        std::optional<DocumentPlace> place = catalog_.locate(documentOf(item));
        if (!place) {
            showMessage(QString::fromLatin1(msg::kErrorParameter));
            return;
        }
        catalog_.retitleDocument(place->type, place->index, name);
    }
    item->setText(0, name);
}

void DocumentBrowser::activate(QTreeWidgetItem* item) {
    if (auto place = catalog_.locate(documentOf(item)))
        catalog_.activateDocument(place->type, place->index);
}

void DocumentBrowser::layoutContents() {
    tree_->setGeometry(kTreeLeft, kTreeTop, surface()->width() - 9, surface()->height() - 39);
}

}  // namespace oscilane
