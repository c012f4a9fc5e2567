// The calculation sheet as a PDF document: the one place where the sheet needs a painter.
#pragma once

#include "graphics/SheetDocument.h"

#include <string>

namespace kradon {

/// The bytes of the sheet as a PDF: A4 portrait pages laid out by LayoutSheet, text in DejaVu
/// Sans with its fonts embedded, figures drawn as vectors. Needs a QGuiApplication.
std::string SheetPdf(const sheet::SheetDocument& document);

} // namespace kradon
