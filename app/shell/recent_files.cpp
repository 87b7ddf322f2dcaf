#include "shell/recent_files.h"

#include <QDir>
#include <QFileInfo>

#include "shell/command_ids.h"

namespace oscilane {
namespace {

const QString kGroup = QStringLiteral("Recent File List");
RecentFiles* installed = nullptr;

QString keyOf(int slot) { return QStringLiteral("File%1").arg(slot + 1); }

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

RecentFiles::RecentFiles(std::unique_ptr<QSettings> settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {}

QStringList RecentFiles::files() const {
    QStringList files;
    settings_->beginGroup(kGroup);
    for (int slot = 0; slot < kCount; ++slot) {
        const QString path = settings_->value(keyOf(slot)).toString();
        if (!path.isEmpty() && !files.contains(path)) files.append(path);
    }
    settings_->endGroup();
    return files;
}

void RecentFiles::note(const QString& path) {
    if (path.isEmpty()) return;
    const QString file = absolute(path);
    QStringList files = this->files();
    files.removeAll(file);
    files.prepend(file);
    store(files.mid(0, kCount));
}

void RecentFiles::forget(const QString& path) {
    QStringList files = this->files();
    if (files.removeAll(path) + files.removeAll(absolute(path)) == 0) return;
    store(files);
}

void RecentFiles::store(const QStringList& files) {
    settings_->beginGroup(kGroup);
    for (int slot = 0; slot < kCount; ++slot) {
        if (slot < files.size())
            settings_->setValue(keyOf(slot), files[slot]);
        else
            settings_->remove(keyOf(slot));
    }
    settings_->endGroup();
    settings_->sync();
    emit changed();
}

void installRecentFiles(RecentFiles* list) { installed = list; }

RecentFiles* recentFiles() { return installed; }

void noteRecentFile(const QString& path) {
    if (installed) installed->note(path);
}

std::optional<int> recentFileSlot(int command) {
    const int slot = command - cmd::kRecentFile1;
    if (slot < 0 || slot >= cmd::kRecentFileCount) return std::nullopt;
    return slot;
}

QString recentFileMenuText(int slot, const QString& path) {
    return QStringLiteral("&%1 %2").arg(slot + 1).arg(QDir::toNativeSeparators(path));
}

}  // namespace oscilane
