// The model as tables of text, one per kind of record, with the columns and cell texts that the
// properties explorer shows and that `kradon-cli show` prints.
#pragma once

#include "model/BeamModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kradon::ModelTables {

struct RecordTable {
    std::string title; // the explorer's tree node text, e.g. "Point Loads"
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

/// "None", "Linear" or "Expression" for the variation of E (kind "evn") or I (kind "ivn")
/// definition index, rounded to an integer; empty text for any other variation or kind.
std::string variationType(const BeamModel& m, std::int16_t index, const std::string& kind);

RecordTable caseBeamDetails(const BeamModel& m);
RecordTable caseYoungsModulus(const BeamModel& m);
RecordTable caseSecondMomentOfArea(const BeamModel& m);
RecordTable caseLoadDetails(const BeamModel& m);
RecordTable casePointLoads(const BeamModel& m);
RecordTable caseUniformlyDistributedLoads(const BeamModel& m);
RecordTable caseTrapezoidallyDistributedLoads(const BeamModel& m);
RecordTable caseMomentLoads(const BeamModel& m);
RecordTable caseFixedDisplacements(const BeamModel& m);
RecordTable caseSupportDetails(const BeamModel& m);
RecordTable caseRigidSupports(const BeamModel& m);
RecordTable caseSpringSupports(const BeamModel& m);

/// Every table above, in the order of the explorer's tree from top to bottom.
std::vector<RecordTable> AllTables(const BeamModel& m);

} // namespace kradon::ModelTables
