// What the results window tests share: a sink that keeps the boxes, a file picker that answers
// from a script, a folder of the test's own and a sample model analysed.
#pragma once

#include "../../core/TestFolder.h"
#include "../../core/analysis/ModelBuilder.h"
#include "../ScriptedFilePicker.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "app/results/frmResultDisplay.h"
#include "model/Sinks.h"
#include "model/modFileWrite.h"
#include "results/modResults.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace kradon::testing {

using test::RecordingSink;

/// The whole content of a file; a test failure if it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

/// A folder of the running test alone, with its files named as the dialogs return them.
class TempDir : public kradon::test::TestFolder {
public:
    QString file(const char* name) const {
        return QString::fromStdString((path() / name).string());
    }
};

/// The sample model analysed with the mesh density given, as the Analyse command leaves it.
inline ProgramState AnalysedExample(const char* name, const TempDir& dir, double meshDensity = 1) {
    ProgramState s;
    s.model = modFileWrite::OpenModelFile(std::filesystem::path(KRADON_EXAMPLES) / name);
    s.options.MeshDensFact = meshDensity;
    RecordingSink sink;
    NullStatusSink status;
    EXPECT_EQ(AnalyseCore(s, dir.path(), status, sink).outcome, AnalyseOutcome::Completed);
    EXPECT_TRUE(sink.shown.empty());
    return s;
}

/// The results window, owned by a main window, over the two-span sample analysed; its file
/// dialogs answer from a script, and one nobody expected fails the test.
struct AnalysedWindow {
    explicit AnalysedWindow(double meshDensity = 1)
        : state(AnalysedExample("two-span-continuous-udl.kdn", dir, meshDensity)) {
        files.unscriptedDialogFails = true;
        window.setFilePicker(files);
    }
    /// The report of the analysis, naming the results file at path if one is given.
    QString expectedReport(const std::string& path = "") const {
        return QString::fromStdString(
            DoResults(state, path, state.equations.CalcTime, state.AnalysisTime));
    }
    TempDir dir;
    ProgramState state;
    RecordingSink sink;
    test::ScriptedFilePicker files;
    QWidget mainWindow;
    frmResultDisplay window{state, sink, &mainWindow};
};

} // namespace kradon::testing
