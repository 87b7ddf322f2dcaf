// The scope's printed test report: the shared report frame with "Pirla - DSO"
// and the legend of the shown channels, the date, the acquisition settings
// and the four traces on a printed graticule.  Printing, the preview, the
// page setup and "Export PDF..." all draw the page here.
#pragma once

#include <QDateTime>
#include <QSize>

#include "model/setting_block.h"
#include "shell/report_commands.h"

class QPainter;
class QWidget;

namespace oscilane {

class CommandMap;
struct ScopeData;

// Draws the report page of the block on a page of the given size in device pixels.
void drawScopeReport(QPainter& painter, QSize page, const SettingBlock& block,
                     const QDateTime& when);

// Writes the report of the block as a one-page PDF, whole or not at all;
// false with the reason on failure.
bool writeScopeReportPdf(const QString& path, const SettingBlock& block, const QDateTime& when,
                         QString* reason = nullptr);

// Print, Print Preview, Print Setup and Export PDF of one scope window.
using ScopeReportCommands = ReportCommands;

// Puts the four report commands into a scope view's commands.
ScopeReportCommands* installScopeReport(QWidget* view, CommandMap& commands, const ScopeData& data);

}  // namespace oscilane
