#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_browser.h"
#include "shell/document_template.h"
#include "shell/recent_files.h"
#include "shell/tool_bar_buttons.h"

namespace oscilane {
namespace {

// Commands change state without telling the frame (a connection comes up),
// so the tool bar is brought up to date this often.
constexpr int kCommandUiRefreshMs = 250;

constexpr ToolBarButton kToolButtons[] = {
    {cmd::kNewScope, "New Scope", ":/icons/new_scope.png"},
    {cmd::kNewMeter, "New Meter", ":/icons/new_meter.png"},
    {cmd::kNewGenerator, "New Function Generator", ":/icons/new_generator.png"},
    {0, nullptr, nullptr},
    {cmd::kWindowCascade, "Cascade", ":/icons/cascade.png"},
    {cmd::kWindowTileHorizontal, "Tile Horizontally", ":/icons/tile_horizontal.png"},
    {cmd::kWindowTileVertical, "Tile Vertically", ":/icons/tile_vertical.png"},
    {0, nullptr, nullptr},
    {cmd::kAppAbout, "About", ":/icons/about.png"},
};

const char* const kLockNames[] = {"CAP", "NUM", "SCRL"};
constexpr Qt::Key kLockKeys[] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};

}  // namespace

MainFrame::MainFrame(DocumentCatalog& catalog, CommandTarget& application,
                     const QStringList& categories)
    : application_(application),
      mdiArea_(new QMdiArea(this)),
      browser_(new DocumentBrowser(catalog, categories, this)) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/oscilane.png")));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    buildToolBar();
    buildStatusBar();
    addDockWidget(Qt::LeftDockWidgetArea, browser_);
    registerFrameCommands();
    ownMenus_ = buildMenus(mainFrameMenu());
    showMenusFor(nullptr);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainFrame::showMenusFor);
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &MainFrame::updateCommandUi);
    refresh->start(kCommandUiRefreshMs);
    qApp->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        resize(desk.size() * 3 / 4);
        move(desk.center() - rect().center());
    }
}

MainFrame::~MainFrame() {
    // Children die after the frame's own members: neither the document
    // windows nor the actions may call back into it then.
    disconnect(mdiArea_, nullptr, this, nullptr);
    for (QAction* action : std::as_const(commandActions_))
        disconnect(action, nullptr, this, nullptr);
}

void MainFrame::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("Standard"));
    toolBar_->setMovable(true);
    addToolBarButtons(*toolBar_, kToolButtons, [this](int command, const QString& text) {
        return commandAction(command, text, toolBar_);
    });
}

void MainFrame::buildStatusBar() {
    statusBar()->showMessage(QStringLiteral("Ready"));
    for (const char* name : kLockNames) {
        auto* label = new QLabel(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        // Shown greyed until the key is seen switching its lock on.
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
        lockIndicators_.append(label);
    }
}

void MainFrame::registerFrameCommands() {
    CommandMap& c = commands();
    auto visibility = [](QWidget* w) { return [w] { return CommandState{true, w->isVisible()}; }; };
    auto toggle = [](QWidget* w) { return [w] { w->setVisible(!w->isVisible()); }; };
    c.on(cmd::kViewToolBar, toggle(toolBar_), visibility(toolBar_));
    c.on(cmd::kViewStatusBar, toggle(statusBar()), visibility(statusBar()));
    c.on(cmd::kViewBrowserBar, toggle(browser_), visibility(browser_));
    c.on(cmd::kWindowCascade, [this] { mdiArea_->cascadeSubWindows(); });
    c.on(cmd::kWindowTileHorizontal, [this] { tile(Qt::Vertical); });
    c.on(cmd::kWindowTileVertical, [this] { tile(Qt::Horizontal); });
    c.on(cmd::kWindowArrange, [this] { arrangeIcons(); });
    c.on(cmd::kAppExit, [this] { close(); });
}

QAction* MainFrame::commandAction(int id, const QString& text, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setData(id);
    action->setStatusTip(commandTip(id));
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    commandActions_.append(action);
    connect(action, &QObject::destroyed, this,
            [this, action] { commandActions_.removeAll(action); });
    return action;
}

QList<QMenu*> MainFrame::buildMenus(const MenuBarLayout& layout) {
    QList<QMenu*> menus;
    for (const MenuItem& top : layout) {
        auto* menu = new QMenu(top.text, this);
        fillMenu(menu, top.items);
        menus.append(menu);
    }
    return menus;
}

void MainFrame::fillMenu(QMenu* menu, const QList<MenuItem>& items) {
    connect(menu, &QMenu::aboutToShow, this, &MainFrame::updateCommandUi);
    for (const MenuItem& item : items) {
        if (!item.items.isEmpty()) {
            fillMenu(menu->addMenu(item.text), item.items);
        } else if (item.command == 0) {
            menu->addSeparator();
        } else {
            QAction* a = commandAction(item.command, item.text, menu);
            a->setShortcut(item.shortcut);
            a->setCheckable(item.checkable);
            menu->addAction(a);
        }
    }
}

void MainFrame::showMenusFor(QMdiSubWindow* window) {
    auto* frame = qobject_cast<ChildFrame*>(window);
    const QList<QMenu*>* menus = &ownMenus_;
    if (frame) {
        const MenuBarLayout* layout = &frame->document().documentTemplate().menu;
        auto found = windowMenus_.find(layout);
        if (found == windowMenus_.end()) found = windowMenus_.insert(layout, buildMenus(*layout));
        menus = &found.value();
    }
    // Only the menus in the bar carry live shortcuts.
    menuBar()->clear();
    for (QMenu* menu : *menus) menuBar()->addMenu(menu);
    updateCommandUi();
}

void MainFrame::addChildFrame(ChildFrame* frame) {
    mdiArea_->addSubWindow(frame);
    frame->show();
    mdiArea_->setActiveSubWindow(frame);
}

ChildFrame* MainFrame::activeChildFrame() const {
    return qobject_cast<ChildFrame*>(mdiArea_->activeSubWindow());
}

QList<const CommandTarget*> MainFrame::route() const {
    QList<const CommandTarget*> targets;
    if (ChildFrame* frame = activeChildFrame()) {
        if (auto* view = dynamic_cast<const CommandTarget*>(frame->view())) targets.append(view);
        targets.append(&frame->document());
        targets.append(frame);
    }
    targets.append(this);
    targets.append(&application_);
    return targets;
}

CommandState MainFrame::commandState(int id) const {
    for (const CommandTarget* target : route())
        if (target->commands().handles(id)) return target->commands().state(id);
    return CommandState{false, false};
}

void MainFrame::runCommand(int id) {
    for (const CommandTarget* target : route()) {
        if (target->commands().handles(id)) {
            if (target->commands().state(id).enabled) target->commands().run(id);
            break;
        }
    }
    updateCommandUi();
}

void MainFrame::updateCommandUi() {
    const QStringList recent = recentFiles() ? recentFiles()->files() : QStringList();
    for (QAction* action : std::as_const(commandActions_)) {
        if (const std::optional<int> slot = recentFileSlot(action->data().toInt())) {
            action->setVisible(*slot < recent.size());
            if (*slot < recent.size()) action->setText(recentFileMenuText(*slot, recent[*slot]));
        }
        const CommandState state = commandState(action->data().toInt());
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
}

void MainFrame::restoreAndRaise() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void MainFrame::tile(Qt::Orientation stacking) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdiArea_->subWindowList())
        if (w->isVisible() && !w->isMinimized()) windows.append(w);
    if (windows.isEmpty()) return;
    const QRect area = mdiArea_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (stacking == Qt::Vertical)
            windows[i]->setGeometry(0, area.height() * i / n, area.width(),
                                    area.height() * (i + 1) / n - area.height() * i / n);
        else
            windows[i]->setGeometry(area.width() * i / n, 0,
                                    area.width() * (i + 1) / n - area.width() * i / n,
                                    area.height());
    }
}

void MainFrame::arrangeIcons() {
    int x = 0;
    const int bottom = mdiArea_->viewport()->height();
    for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
        if (!w->isMinimized() || !w->isVisible()) continue;
        w->move(x, bottom - w->height());
        x += w->width();
    }
}

void MainFrame::changeEvent(QEvent* event) {
    // A maximised document window would append its title; the frame keeps its own.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != QLatin1String(kTitle))
        setWindowTitle(QString::fromLatin1(kTitle));
    QMainWindow::changeEvent(event);
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Each key press reaches the frame's window once, before any widget sees it.
    if (event->type() == QEvent::KeyPress && watched == static_cast<QObject*>(windowHandle())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int i = 0; i < lockIndicators_.size(); ++i)
            if (key == kLockKeys[i])
                lockIndicators_[i]->setEnabled(!lockIndicators_[i]->isEnabled());
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace oscilane
