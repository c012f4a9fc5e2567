// What the window tests share: a sink that records every box and answers questions from a
// script, a file picker that returns scripted names, a main window over a temporary folder and
// the steps the tests take with it.
#pragma once

#include "ScriptedFilePicker.h"
#include "app/DesktopLauncher.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

/// Failure messages show a QString, and so a list of them, as its text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kradon {
class frmResultDisplay;
}

namespace kradon::test {

class RecordingShellSink : public ShellSink {
public:
    void show(const Message& message) override { shown.push_back(message); }
    /// The next scripted answer; a question nobody scripted is recorded and answered Cancel.
    /// whileAsking runs first, as the events a modal box lets through while it waits.
    Answer ask(const Message& message, Buttons) override {
        shown.push_back(message);
        asked.push_back(message);
        if (whileAsking)
            whileAsking();
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
    std::function<void()> whileAsking;
};

/// A desktop that notes what it was asked to open and has no program to open it with, so no
/// test starts a browser.
struct ScriptedDesktop : DesktopLauncher {
    std::vector<QString> opened;
    bool open(const QString& file) override {
        opened.push_back(file);
        return false;
    }
};

/// A sample model from examples/.
std::string ExamplePath(const char* name);

/// path as the text a file dialog, a caption or a status panel carries.
inline QString QPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

/// What the screen shows of widget once the pending paints are done: the pixels of its
/// window's backing store, not a fresh rendering as QWidget::grab() makes, so a window that
/// was not repainted still shows its old picture.
QImage OnScreen(QWidget& widget);

/// A shown main window whose files all live in a temporary folder.
struct MainWindowFixture {
    /// helpFileName names a user guide in the folder (which the test may or may not create).
    explicit MainWindowFixture(const char* helpFileName = "");
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    /// The captions of tabMain, left to right.
    std::vector<QString> tabs() const;
    /// The captions of the open child windows, sorted.
    std::vector<QString> windows() const;

    QTemporaryDir dir;
    RecordingShellSink messages;
    ScriptedFilePicker files;
    ScriptedDesktop desktop;
    std::unique_ptr<frmMain> main;
};

/// Lets the windows that closed themselves go.
void Settle();

/// The content widget of main's open child window of kind, or nullptr.
QWidget* ChildContent(frmMain& main, std::int16_t kind);
template <typename W> W* ChildContent(frmMain& main, std::int16_t kind) {
    return qobject_cast<W*>(ChildContent(main, kind));
}

/// The drawing surface of the open diagram window of kind (0 the idealised beam), or nullptr.
QWidget* DiagramSurface(frmMain& main, std::int16_t kind);

/// "name=text" for each child of root named in expected ("name=text" too), as shown: the title of
/// a menu or frame, the text of an item, button, label or field, "(no such control)".
QStringList ShownTexts(QObject& root, const QStringList& expected);

/// root shows the texts of expected ("name=text"), the access keys' '&' left out.
inline void ExpectShown(QObject& root, const QStringList& expected) {
    EXPECT_EQ(ShownTexts(root, expected).replaceInStrings("&", ""), expected);
}

/// Opens the sample model name from examples/ in f's main window; whether it opened.
bool OpenSample(MainWindowFixture& f, const char* name);

/// The value the per-user settings file holds under key ("Section/Name"), or "absent".
QString StoredSetting(const MainWindowFixture& f, const QString& key);

/// The model file at path opened, analysed and its results window shown: that window, or nullptr.
frmResultDisplay* ShowResults(MainWindowFixture& f, const std::string& path);

} // namespace kradon::test
