// The pictures of the program as files and printed pages: a picture rendered into an image, saved
// as PNG, SVG or PDF by the file's extension, or printed scaled to the printer's page.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <QImage>
#include <QSize>
#include <filesystem>

class QPrinter;

namespace kradon {

/// The picture drawn into an image of that size on a white background. Needs a QGuiApplication.
QImage RenderPicture(modGraphics::PictureKind kind, const ProgramState& state, QSize pixels,
                     MessageSink& messages);

/// Writes the picture to the file; the extension (.png, .svg or .pdf, any case) picks the format.
/// A PNG or SVG is pixels in size; a PDF is one A4 landscape page with the picture of that
/// aspect ratio fitted and centred. The file is replaced in one step
/// (SafeFile::WriteFileAtomically), so a failed save leaves an older picture whole. Throws
/// KradonError (FileIo, source "SavePictureFile") for an unknown extension or a file that cannot
/// be written.
void SavePictureFile(modGraphics::PictureKind kind, const ProgramState& state,
                     const std::filesystem::path& file, QSize pixels, MessageSink& messages);

/// Prints the picture on one page of the printer, scaled to its page rectangle. The printer must
/// be set up (and not yet printing). Throws KradonError (FileIo, source "PrintPicture") when the
/// printer cannot start.
void PrintPicture(QPrinter& printer, modGraphics::PictureKind kind, const ProgramState& state,
                  MessageSink& messages);

} // namespace kradon
