// Typed numbers in the desktop program: the one place where the user's locale decides how a
// number is read and written.
#pragma once

#include <QString>
#include <optional>

namespace kradon {

/// The finite number a user typed: in the user's locale ("2,5" where the comma is the decimal
/// separator) or with a "." point; blanks around it are allowed. nullopt for anything else.
std::optional<double> ParseLocaleNumber(const QString& text);

/// The shortest text that ParseLocaleNumber reads back to v, with the locale's decimal point.
QString LocaleNumberText(double v);

} // namespace kradon
