// The two model file formats as the desktop program offers them: a .kdn file holds one load
// case named "Loads"; a JSON model (*.kradon.json) holds any number of cases and combinations.
#pragma once

#include "model/LoadCases.h"

#include <QString>
#include <QStringList>
#include <filesystem>

namespace kradon {

/// The Open dialog's filters: both formats together first, then each, then every file.
inline constexpr const char* ModelOpenFilter =
    "Kradon models|*.kdn;*.json|Kradon files|*.kdn|Kradon JSON models|*.kradon.json|All files|*.*";
inline constexpr const char* KdnSaveFilter = "Kradon files|*.kdn";
inline constexpr const char* JsonSaveFilter = "Kradon JSON models|*.kradon.json";
inline constexpr const char* JsonExtension = "kradon.json";
/// A .kdn name chosen for a model that needs the JSON format: %1 the name, %2 the reason.
inline constexpr const char* KdnRefusedText =
    "%1 cannot be saved as a .kdn file. %2. Choose a name ending in .kradon.json to save it as "
    "a JSON model.";

/// The Save As filters for m: the .kdn type first when a .kdn file can hold m, else the JSON
/// type first.
QStringList SaveFilters(const CaseModel& m);
/// The suffix a name typed without one gets: "kdn", or "kradon.json" for a model a .kdn file
/// cannot hold.
QString SaveSuffix(const CaseModel& m);
/// The name Save As proposes: name itself, or for a model a .kdn file cannot hold, the same
/// name with ".kdn" replaced by ".kradon.json".
QString ProposedModelName(const CaseModel& m, const QString& name);

/// Writes m in the format its name asks for, replacing the file only once all of it is written.
/// Throws KradonError: BadFileFormat with the reason when that format cannot hold m, FileIo when
/// the file cannot be written.
void SaveCaseModelFile(const std::filesystem::path& path, const CaseModel& m);

/// Whether two models hold the same data: the current case is a choice of the editor, which
/// neither file format keeps.
bool SameModelData(const CaseModel& a, const CaseModel& b);

} // namespace kradon
