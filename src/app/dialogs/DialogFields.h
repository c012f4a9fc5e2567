// What the load, support and property dialogs share: named labels and fields, the number texts
// they show, and the checks of a typed number and of a record number before anything is stored.
#pragma once

#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace kradon {

class frmMain;

/// A stored value as a dialog shows it: at most 15 significant digits, the locale's decimal
/// point.
QString DisplayNumber(double v);

/// The message for a field that holds no finite number; fieldName is the field's caption.
std::string NotANumberText(const QString& fieldName, const QString& text);
/// The message for a record number the model's lists have no room for.
std::string BeyondCapacityText(const QString& recordName, std::int16_t capacity);

/// The number typed in field as a text the model's store operations read back to exactly the
/// same value. Anything else (empty, letters, "1e999") is reported, titled title, and gives
/// nullopt.
std::optional<std::string> FieldNumberText(const QLineEdit& field, const QString& fieldName,
                                           MessageSink& messages, const QString& title);

/// Whether record n has room in the model's lists; if not, says so, naming the capacity.
bool RecordFits(const BeamModel& m, std::int16_t n, const QString& recordName,
                MessageSink& messages, const QString& title);

/// A record's name in the Undo and Redo items: "Point Load", "UDL", ... "E Definition".
QString RecordName(RecordKind kind);
/// The Undo step of storing record n of kind into m: "Add Point Load 3" for a new record,
/// "Edit UDL 1" for one that exists.
QString StoreStepName(const BeamModel& m, RecordKind kind, std::int16_t n);

/// Applies one store to the model through the main window, after trying it on a copy: a store
/// that fails is reported and leaves the model exactly as it was. True when it was applied.
/// step names the Undo step.
bool StoreEdit(frmMain& main, const std::function<void(BeamModel&)>& apply, const QString& step);

/// Whether record n of a list with count records exists, record 0 included (entry 0 is shown
/// and stored like a record, without being counted).
bool IsShownRecord(std::int16_t n, std::int16_t count, std::size_t entries);

/// A label named name; an '&' in text gives it an access key that moves to its buddy.
QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text);
/// A one-line text field named name.
QLineEdit* NamedField(QWidget* parent, const char* name, const QString& text);

} // namespace kradon
