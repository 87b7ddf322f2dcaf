// The list of the last four files any window opened or saved (captures,
// generator CSVs, setups), the most recent first, kept between runs in the
// application's settings under "Local AppWizard-Generated Applications".
// Code that opens or saves a file tells the list with noteRecentFile; every
// window's File menu shows it (commands kRecentFile1 ..).
#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace oscilane {

// Where the application's settings live: the organisation and application
// names of its QSettings.
inline constexpr const char* kSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "Oscilane";

class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int kCount = 4;

    // Reads and writes the list in `settings` (tests give a scratch file).
    explicit RecentFiles(std::unique_ptr<QSettings> settings, QObject* parent = nullptr);

    QStringList files() const;
    // Puts the file (made absolute) first; one already listed moves up, the
    // fifth falls off.
    void note(const QString& path);
    void forget(const QString& path);

  signals:
    void changed();

  private:
    void store(const QStringList& files);

    std::unique_ptr<QSettings> settings_;
};

// The application's list: start-up (or a test) installs one; until then
// nothing is noted and the menus show no recent file.
void installRecentFiles(RecentFiles* list);
RecentFiles* recentFiles();
// Notes a file opened or saved, when a list is installed.
void noteRecentFile(const QString& path);

// The place in the list a File menu command stands for, none for other commands.
std::optional<int> recentFileSlot(int command);
// The menu text of the file at a place: "&1 /path/name".
QString recentFileMenuText(int slot, const QString& path);

}  // namespace oscilane
