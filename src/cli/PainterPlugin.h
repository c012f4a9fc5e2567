// The drawing library of kradon-cli: the pieces that need Qt Gui (PNG pictures and the PDF of
// the calculation sheet), built as a module apart from the program and loaded only when one of
// them is asked for, so that every other command starts without the window-system libraries.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/SheetDocument.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <filesystem>
#include <string>

namespace kradon {

/// The module's file name; beside the program in the build folder, in PainterPluginInstallDir
/// (relative to the program's folder) once installed.
inline constexpr const char* PainterPluginFile = "kradon-cli-painter.so";

/// What the module offers. Both functions make a QGuiApplication on the offscreen platform when
/// none exists and keep Qt's own diagnostics off stderr. Neither lets an exception out.
struct PainterPlugin {
    /// The program version the module was built for; a module of another build is refused.
    const char* version;
    /// Writes the picture as SavePictureFile does. false with the error in error when it failed.
    bool (*savePicture)(modGraphics::PictureKind kind, const ProgramState& state,
                        const std::filesystem::path& file, int width, int height,
                        MessageSink& messages, Message& error);
    /// The calculation sheet as the bytes of a PDF. false with the reason in error when it failed.
    bool (*sheetPdf)(const sheet::SheetDocument& document, std::string& bytes, std::string& error);
};

/// The one symbol the module exports.
inline constexpr const char* PainterPluginEntry = "KradonPainterPlugin";
extern "C" using PainterPluginEntryFunction = const PainterPlugin * ();

/// The module, loaded on the first call from beside the program or from the install folder.
/// nullptr after the first failure, with the reason in error.
const PainterPlugin* LoadPainterPlugin(std::string& error);

} // namespace kradon
