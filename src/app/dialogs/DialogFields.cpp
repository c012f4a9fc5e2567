// The dialogs' shared fields and checks.
#include "app/dialogs/DialogFields.h"

#include "app/Guarded.h"
#include "app/NumberText.h"
#include "app/frmMain.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <QLabel>
#include <QLineEdit>
#include <array>

namespace kradon {

QString DisplayNumber(double v) {
    return LocaleNumberText(modText::RoundTrip15(v));
}

std::string NotANumberText(const QString& fieldName, const QString& text) {
    if (text.trimmed().isEmpty())
        return QString("Please enter a number for %1.").arg(fieldName).toStdString();
    return QString("%1: \"%2\" is not a number.").arg(fieldName, text).toStdString();
}

std::string BeyondCapacityText(const QString& recordName, std::int16_t capacity) {
    return QString("%1 cannot be stored: each list of the model holds at most %2 records.")
        .arg(recordName)
        .arg(capacity)
        .toStdString();
}

std::optional<std::string> FieldNumberText(const QLineEdit& field, const QString& fieldName,
                                           MessageSink& messages, const QString& title) {
    if (const std::optional<double> v = ParseLocaleNumber(field.text()))
        return modText::GeneralNumber(*v);
    messages.show(
        {title.toStdString(), NotANumberText(fieldName, field.text()), Icon::Exclamation});
    return std::nullopt;
}

bool RecordFits(const BeamModel& m, std::int16_t n, const QString& recordName,
                MessageSink& messages, const QString& title) {
    try {
        CheckRecordNumber(m, n);
        return true;
    } catch (const KradonError&) {
        messages.show({title.toStdString(), BeyondCapacityText(recordName, m.MaxNoApplieds),
                       Icon::Exclamation});
        return false;
    }
}

QString RecordName(RecordKind kind) {
    static constexpr std::array<const char*, RecordKindCount> names = {
        "Point Load",         "UDL",           "TDL",
        "Moment Load",        "Rigid Support", "Spring Support",
        "Fixed Displacement", "E Definition",  "I Definition"};
    return names[static_cast<std::size_t>(kind)];
}

QString StoreStepName(const BeamModel& m, RecordKind kind, std::int16_t n) {
    const char* verb = n > m.count(kind) ? "Add" : "Edit";
    return QString("%1 %2 %3").arg(verb, RecordName(kind)).arg(n);
}

bool StoreEdit(frmMain& main, const std::function<void(BeamModel&)>& apply, const QString& step) {
    return guarded(main.messages(), [&] {
        BeamModel trial = main.state().model;
        apply(trial);
        main.EditModel(apply, step);
    });
}

bool IsShownRecord(std::int16_t n, std::int16_t count, std::size_t entries) {
    return n >= 0 && n <= count && static_cast<std::size_t>(n) < entries;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* NamedField(QWidget* parent, const char* name, const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    return field;
}

} // namespace kradon
