// What the results window tests share: a sink that keeps the boxes, a file picker that answers
// from a script, a folder of the test's own and a sample model analysed.
#pragma once

#include "../../core/TestFolder.h"
#include "../ScriptedFilePicker.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "app/FilePicker.h"
#include "model/Sinks.h"
#include "model/modFileWrite.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::testing {

struct RecordingSink : MessageSink {
    std::vector<Message> shown;
    void show(const Message& message) override { shown.push_back(message); }
};

using kradon::test::ScriptedFilePicker;

/// The whole content of a file, empty (with a test failure) if it cannot be read.
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

/// The sample model analysed, as the Analyse command leaves the tables.
inline ProgramState AnalysedExample(const char* name, const TempDir& dir) {
    ProgramState s;
    s.model = modFileWrite::OpenModelFile(std::filesystem::path(KRADON_EXAMPLES) / name);
    RecordingSink sink;
    NullStatusSink status;
    const AnalyseResult r = AnalyseCore(s, dir.path(), status, sink);
    EXPECT_EQ(r.outcome, AnalyseOutcome::Completed);
    EXPECT_TRUE(sink.shown.empty());
    return s;
}

} // namespace kradon::testing
