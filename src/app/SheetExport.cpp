#include "app/SheetExport.h"

#include "app/Guarded.h"
#include "app/results/BackgroundJob.h"
#include "graphics/SheetBuilder.h"
#include "graphics/SheetHtml.h"
#include "graphics/qt/SheetPdf.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "results/ResultsCsv.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

namespace kradon {
namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

/// Writes what make returns to the file, or shows why it could not be made or written; writes
/// nothing when make returns nothing (the user cancelled).
template <class Make> bool writeExport(const QString& file, MessageSink& messages, Make&& make) {
    try {
        const std::optional<std::string> bytes = make();
        if (!bytes)
            return false;
        SafeFile::WriteFileAtomically(toPath(file), *bytes);
        return true;
    } catch (const std::exception& e) {
        messages.show({ProgramTitle,
                       MessageLines("Cannot export to " + file.toStdString(), e.what()),
                       Icon::Critical});
        return false;
    }
}

bool isHtml(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

} // namespace

bool ExportCalculationSheet(QWidget* parent, const ProgramState& state, const UserDetails& user,
                            FilePicker& files, MessageSink& messages, const QString& startAt) {
    const PickedName name =
        files.saveName(parent, ExportSheetTitle, DialogFilters(ExportSheetFilter), "pdf", startAt);
    if (!name || name->isEmpty())
        return false;
    return writeExport(*name, messages, [&]() -> std::optional<std::string> {
        std::optional<sheet::SheetDocument> document;
        {
            const WaitCursor hourglass;
            document = sheet::BuildSheet(
                state,
                sheet::MakeTitleBlock(state.FileName.empty() ? "(not saved)" : state.FileName, user,
                                      sheet::NowText()));
            if (isHtml(*name))
                return sheet::SheetHtml(*document);
        }
        // Painting the pages of a long sheet takes a while: off the event thread, from the
        // document made above, with Cancel.
        std::string pdf;
        if (!RunWithProgress(parent,
                             QCoreApplication::translate("ExportCalculationSheet",
                                                         "Exporting the calculation sheet"),
                             [&](const ProgressCheck&) { pdf = SheetPdf(*document); }))
            return std::nullopt;
        return pdf;
    });
}

bool ExportResultsCsv(QWidget* parent, const ProgramState& state, FilePicker& files,
                      MessageSink& messages, const QString& startAt) {
    const PickedName name = files.saveName(parent, ExportResultsTitle,
                                           DialogFilters(ExportResultsFilter), "csv", startAt);
    if (!name || name->isEmpty())
        return false;
    return writeExport(*name, messages,
                       [&] { return std::optional<std::string>(ResultsCsv(state)); });
}

} // namespace kradon
