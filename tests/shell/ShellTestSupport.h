// What the window tests share: a sink that records every box and answers questions from a
// script, a file picker that returns scripted names, and a main window over a temporary folder.
#pragma once

#include "app/FilePicker.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"

#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kradon::test {

class RecordingShellSink : public ShellSink {
public:
    void show(const Message& message) override { shown.push_back(message); }
    /// The next scripted answer; a question nobody scripted is recorded and answered Cancel.
    Answer ask(const Message& message, Buttons) override {
        shown.push_back(message);
        asked.push_back(message);
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : shown)
            t.push_back(m.text);
        return t;
    }
    std::vector<Message> shown;
    std::vector<Message> asked;
    std::deque<Answer> answers;
};

class ScriptedFilePicker : public FilePicker {
public:
    PickedName saveName(QWidget*, const QString& title, const QStringList& filters,
                        const QString& suffix) override {
        saveTitles.push_back(title);
        lastFilters = filters;
        lastSuffix = suffix;
        return next();
    }
    PickedName openName(QWidget*, const QStringList& filters, const QString& suffix) override {
        ++openCalls;
        lastFilters = filters;
        lastSuffix = suffix;
        return next();
    }
    std::deque<PickedName> names; // nothing scripted: the user cancels
    std::vector<QString> saveTitles;
    int openCalls = 0;
    QStringList lastFilters;
    QString lastSuffix;

private:
    PickedName next() {
        if (names.empty())
            return std::nullopt;
        PickedName n = names.front();
        names.pop_front();
        return n;
    }
};

/// A sample model from examples/.
std::string ExamplePath(const char* name);

/// A shown main window whose files all live in a temporary folder.
struct MainWindowFixture {
    MainWindowFixture();
    ~MainWindowFixture();
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    /// The captions of tabMain, left to right.
    std::vector<QString> tabs() const;
    /// The captions of the open child windows, sorted.
    std::vector<QString> windows() const;

    QTemporaryDir dir;
    RecordingShellSink messages;
    ScriptedFilePicker files;
    std::unique_ptr<frmMain> main;
};

} // namespace kradon::test
