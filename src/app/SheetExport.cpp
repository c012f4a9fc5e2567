#include "app/SheetExport.h"

#include "app/Guarded.h"
#include "graphics/SheetBuilder.h"
#include "graphics/SheetHtml.h"
#include "graphics/qt/SheetPdf.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "results/ResultsCsv.h"

#include <QFileInfo>
#include <exception>
#include <filesystem>

namespace kradon {
namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

/// Writes what make returns to the file, or shows why it could not be made or written.
template <class Make> bool writeExport(const QString& file, MessageSink& messages, Make&& make) {
    try {
        SafeFile::WriteFileAtomically(toPath(file), make());
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
    const WaitCursor hourglass;
    return writeExport(*name, messages, [&] {
        const sheet::SheetDocument document = sheet::BuildSheet(
            state, sheet::MakeTitleBlock(state.FileName.empty() ? "(not saved)" : state.FileName,
                                         user, sheet::NowText()));
        return isHtml(*name) ? sheet::SheetHtml(document) : SheetPdf(document);
    });
}

bool ExportResultsCsv(QWidget* parent, const ProgramState& state, FilePicker& files,
                      MessageSink& messages, const QString& startAt) {
    const PickedName name = files.saveName(parent, ExportResultsTitle,
                                           DialogFilters(ExportResultsFilter), "csv", startAt);
    if (!name || name->isEmpty())
        return false;
    return writeExport(*name, messages, [&] { return ResultsCsv(state); });
}

} // namespace kradon
