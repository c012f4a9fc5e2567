#include "app/ModelFiles.h"

#include "app/FilePicker.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"

#include "json/ModelJson.h"

namespace kradon {

QStringList SaveFilters(const CaseModel& m) {
    const QString all = "All files|*.*";
    const bool kdn = !KdnCannotHold(m);
    return DialogFilters(QString(kdn ? KdnSaveFilter : JsonSaveFilter) + "|" +
                         (kdn ? JsonSaveFilter : KdnSaveFilter) + "|" + all);
}

QString SaveSuffix(const CaseModel& m) {
    return KdnCannotHold(m) ? JsonExtension : modFileWrite::DefaultExtension;
}

QString ProposedModelName(const CaseModel& m, const QString& name) {
    if (!KdnCannotHold(m) || !name.endsWith(".kdn", Qt::CaseInsensitive))
        return name;
    return name.left(name.size() - 4) + "." + JsonExtension;
}

void SaveCaseModelFile(const std::filesystem::path& path, const CaseModel& m) {
    SafeFile::WriteFileAtomically(path, ModelJson::ModelFileBytes(m, path), ModelJson::WriteSource);
}

bool SameModelData(const CaseModel& a, const CaseModel& b) {
    CaseModel first = a;
    first.current = b.current;
    return first == b;
}

} // namespace kradon
