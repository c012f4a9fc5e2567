// A file picker for window tests: it answers each dialog with the next scripted name and notes
// what it was asked.
#pragma once

#include "app/FilePicker.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace kradon::test {

class ScriptedFilePicker : public FilePicker {
public:
    PickedName saveName(QWidget*, const QString& title, const QStringList& filters,
                        const QString& suffix, const QString& startAt) override {
        saveTitles.push_back(title);
        return next(filters, suffix, startAt);
    }
    PickedName openName(QWidget*, const QStringList& filters, const QString& suffix,
                        const QString& startAt) override {
        ++openCalls;
        return next(filters, suffix, startAt);
    }

    PickedName folderName() override { return next(lastFilters, lastSuffix, lastStartAt); }

    /// The answers in order; nullopt, or no answer left, is Cancel.
    std::deque<PickedName> names;
    /// Whether a dialog with no answer left fails the test instead of being cancelled.
    bool unscriptedDialogFails = false;

    std::vector<QString> saveTitles;
    int openCalls = 0;
    QStringList lastFilters;
    QString lastSuffix;
    QString lastStartAt;

private:
    PickedName next(const QStringList& filters, const QString& suffix, const QString& startAt) {
        lastFilters = filters;
        lastSuffix = suffix;
        lastStartAt = startAt;
        if (names.empty()) {
            EXPECT_FALSE(unscriptedDialogFails) << "a file dialog nobody expected";
            return std::nullopt;
        }
        const PickedName answer = names.front();
        names.pop_front();
        return answer;
    }
};

} // namespace kradon::test
