// The JSON model format (*.kradon.json): a readable, diffable text form of a model with several
// load cases and their combinations. Values, signs and units are those of the .kdn records;
// docs/kradon-model.schema.json describes the keys.
#pragma once

#include "model/LoadCases.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kradon::ModelJson {

inline constexpr const char* FormatName = "kradon-model";
inline constexpr int FormatVersion = 1;
inline constexpr const char* ReadSource = "ReadModelJson";
inline constexpr const char* WriteSource = "WriteModelJson";
/// The largest JSON model file read: far above any model the capacity allows, small enough that a
/// hostile file cannot exhaust memory.
inline constexpr std::uintmax_t JsonModelMaxBytes = 16u << 20;
/// The capacity a model gets when its file names none, unless a kind holds more records.
inline constexpr std::int16_t DefaultCapacity = DefaultMaxNoApplieds;

/// Reads a JSON model. Anything the format does not allow (not JSON, a key it does not know or
/// that is given twice, a missing key, a value of the wrong kind or out of range, a wrong
/// format or version, two cases or combinations of one name, a factor that names no case)
/// throws KradonError (BadFileFormat) whose text starts with where it is, for example
/// "load_cases[2].loads[1].kN: needs a number, not \"ten\"" (positions count from 1).
CaseModel ReadModelJson(std::string_view text);

/// Why the JSON format cannot hold m exactly, or nullopt: a record value that is not finite, a
/// support type other than pinned or fixed, an E or I definition of no known variation or with
/// values its variation does not use, entries beyond the records (or in entry 0) that are not
/// zero, or a text that is not UTF-8.
std::optional<std::string> JsonCannotHold(const CaseModel& m);

/// The JSON text of m, one record to a line, ending with a line break. Throws KradonError
/// (BadFileFormat) with the reason of JsonCannotHold.
std::string WriteModelJson(const CaseModel& m);

/// Whether a path names a JSON model: its name ends in ".json" (in any case).
bool IsJsonModelPath(const std::filesystem::path& path);

/// Reads a model file of either format, by its name: a JSON model, or else a .kdn file as a
/// model of one case named "Loads". A missing or unreadable file throws KradonError (FileIo), a
/// damaged one (BadFileFormat).
CaseModel OpenCaseModelFile(const std::filesystem::path& path);

/// The bytes of m in the format its name asks for (see IsJsonModelPath). Throws KradonError
/// (BadFileFormat) when that format cannot hold m, with the reason.
std::string ModelFileBytes(const CaseModel& m, const std::filesystem::path& path);

} // namespace kradon::ModelJson
