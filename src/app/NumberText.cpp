// Typed numbers.
#include "app/NumberText.h"

#include "model/modText.h"

#include <QLocale>
#include <cmath>

namespace kradon {

std::optional<double> ParseLocaleNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double v = QLocale().toDouble(trimmed, &ok);
    if (ok && std::isfinite(v))
        return v;
    return modText::ParseNumber(trimmed.toStdString());
}

QString LocaleNumberText(double v) {
    QString text = QString::fromStdString(modText::GeneralNumber(v));
    const QString point = QLocale().decimalPoint();
    if (point != ".")
        text.replace('.', point);
    return text;
}

} // namespace kradon
