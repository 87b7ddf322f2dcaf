// The document browser: its tree, context menus, label editing and the
// messages for what cannot be renamed or removed.
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

#include "app_fixture.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_browser.h"

using namespace oscilane;

namespace {

// The menu as (text, command) rows; a submenu's rows follow its own, indented.
QStringList describe(const QMenu& menu, const QString& indent = QString()) {
    QStringList rows;
    for (QAction* a : menu.actions()) {
        rows.append(indent + a->text());
        if (a->menu()) rows += describe(*a->menu(), indent + QStringLiteral("  "));
    }
    return rows;
}

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void treeHasRootAndOneCategoryPerType();
    void newDocumentIsListedAndSelected();
    void contextMenus();
    void contextMenuAddsScopesAndMeters();
    void deleteRefusesRootAndCategories();
    void deleteRemovesTheDocument();
    void labelEditRules();
    void labelEditThroughTheEditor();
    void doubleClickShowsAHiddenWindow();
    void treeFillsTheBar();
};

void BrowserTest::treeHasRootAndOneCategoryPerType() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    QCOMPARE(b->tree()->topLevelItemCount(), 1);
    QCOMPARE(b->root()->text(0), QStringLiteral("Document List"));
    QStringList categories;
    for (int i = 0; i < b->root()->childCount(); ++i)
        categories.append(b->root()->child(i)->text(0));
    QCOMPARE(categories, QStringList({"Digital Scope", "Digital Meter", "Function Generator",
                                      "Data Sheet", "Recorder"}));
    QVERIFY(b->root()->isExpanded());
    QVERIFY(!b->root()->icon(0).isNull());
    QVERIFY(f.messages.texts().isEmpty());  // the image list was created
}

void BrowserTest::newDocumentIsListedAndSelected() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* sheet = f.app.newDocument(3);
    Document* scope = f.app.newDocument(0);
    QTreeWidgetItem* item = b->itemOf(scope);
    QVERIFY(item);
    QCOMPARE(item->parent(), b->category(0));
    QCOMPARE(item->text(0), QStringLiteral("DigitalScope1"));
    QCOMPARE(b->tree()->currentItem(), item);
    QCOMPARE(b->itemOf(sheet)->parent(), b->category(3));
    QCOMPARE(b->documentOf(item), scope);
}

void BrowserTest::contextMenus() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* scope = f.app.newDocument(0);
    const QStringList add = {"Add New Document", "  Scope", "  Meter"};
    QCOMPARE(describe(*b->contextMenuFor(nullptr)), add);
    QCOMPARE(describe(*b->contextMenuFor(b->root())), add);
    QCOMPARE(describe(*b->contextMenuFor(b->category(1))), add + QStringList{"Rename"});
    QCOMPARE(describe(*b->contextMenuFor(b->itemOf(scope))),
             add + QStringList({"Rename", "Delete"}));
}

void BrowserTest::contextMenuAddsScopesAndMeters() {
    AppFixture f;
    auto menu = f.frame->browser()->contextMenuFor(nullptr);
    QMenu* add = menu->actions().front()->menu();
    add->actions()[0]->trigger();
    add->actions()[1]->trigger();
    QCOMPARE(add->actions()[0]->data().toInt(), cmd::kNewScope);
    QCOMPARE(f.app.documents(0).size(), size_t(1));
    QCOMPARE(f.app.documents(1).size(), size_t(1));
}

void BrowserTest::deleteRefusesRootAndCategories() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    f.app.newDocument(0);
    for (QTreeWidgetItem* item : {b->root(), b->category(0)}) {
        b->tree()->setCurrentItem(item);
        b->deleteSelected();
    }
    QCOMPARE(f.messages.texts(), QStringList(2, QStringLiteral("Root Cannot Remove!")));
    QCOMPARE(f.app.documents(0).size(), size_t(1));
}

void BrowserTest::deleteRemovesTheDocument() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* first = f.app.newDocument(1);
    Document* second = f.app.newDocument(1);
    b->tree()->setCurrentItem(b->itemOf(first));
    b->deleteSelected();
    QCOMPARE(f.app.documents(1), std::vector<Document*>{second});
    QCOMPARE(b->category(1)->childCount(), 1);
    QCOMPARE(b->category(1)->child(0), b->itemOf(second));
    QVERIFY(f.messages.texts().isEmpty());
}

void BrowserTest::labelEditRules() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* scope = f.app.newDocument(0);
    scope->attachSerialNumber(QStringLiteral("77"));

    b->finishLabelEdit(b->root(), QStringLiteral("Everything"));
    QCOMPARE(f.messages.texts(), QStringList{"Root Cannot Rename!"});
    QCOMPARE(b->root()->text(0), QStringLiteral("Document List"));

    b->finishLabelEdit(b->category(0), QStringLiteral("   "));
    QCOMPARE(b->category(0)->text(0), QStringLiteral("Digital Scope"));
    b->finishLabelEdit(b->category(0), QStringLiteral("Scopes"));
    QCOMPARE(b->category(0)->text(0), QStringLiteral("Scopes"));

    QTreeWidgetItem* item = b->itemOf(scope);
    b->finishLabelEdit(item, QStringLiteral("  Bench  "));
    QCOMPARE(item->text(0), QStringLiteral("Bench"));
    QCOMPARE(scope->title(), QStringLiteral("Bench - SN: 77"));
    b->finishLabelEdit(item, QString());
    QCOMPARE(scope->title(), QStringLiteral("Bench - SN: 77"));
    QCOMPARE(f.messages.texts().size(), 1);
}

void BrowserTest::labelEditThroughTheEditor() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* meter = f.app.newDocument(1);
    f.frame->activateWindow();
    b->tree()->setCurrentItem(b->itemOf(meter));
    b->renameSelected();
    auto* editor = b->tree()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->maxLength(), DocumentBrowser::kMaximumLabelLength);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Bench meter"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits through a queued call
    QCOMPARE(meter->title(), QStringLiteral("Bench meter"));
    QCOMPARE(b->itemOf(meter)->text(0), QStringLiteral("Bench meter"));
}

void BrowserTest::doubleClickShowsAHiddenWindow() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    Document* scope = f.app.newDocument(0);
    ChildFrame* frame = scope->frames().front();
    frame->close();
    QVERIFY(!frame->isVisible());
    QTreeWidgetItem* item = b->itemOf(scope);
    const QRect where = b->tree()->visualItemRect(item);
    // A double click is a press and release followed by the double-click press.
    QTest::mouseClick(b->tree()->viewport(), Qt::LeftButton, {}, where.center());
    QTest::mouseDClick(b->tree()->viewport(), Qt::LeftButton, {}, where.center());
    QVERIFY(frame->isVisible());
}

void BrowserTest::treeFillsTheBar() {
    AppFixture f;
    DocumentBrowser* b = f.frame->browser();
    QApplication::processEvents();
    const QSize bar = b->surface()->size();
    QCOMPARE(b->tree()->geometry(), QRect(4, 34, bar.width() - 9, bar.height() - 39));
}

QTEST_MAIN(BrowserTest)
#include "app_browser_test.moc"
