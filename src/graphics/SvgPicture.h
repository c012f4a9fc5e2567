// A picture as an SVG file, without Qt: what kradon-cli draws on its own and what the picture
// files of the desktop program write for a name ending in .svg.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kradon {

/// Source of the errors of writing a picture file.
inline constexpr const char* SavePictureSource = "SavePictureFile";

/// Throws KradonError (FileIo, SavePictureSource) "Cannot write the picture file FILE: why".
[[noreturn]] void CannotWritePicture(const std::filesystem::path& file, const std::string& why);

/// The picture drawn into an SVG document of width x height pixels.
std::string SvgPicture(modGraphics::PictureKind kind, const ProgramState& state, int width,
                       int height, MessageSink& messages);

/// Replaces the file with bytes in one step (SafeFile::WriteFileAtomically), so a failed save
/// leaves an older picture whole; a failure throws as CannotWritePicture does.
void WritePictureBytes(const std::filesystem::path& file, std::string_view bytes);

} // namespace kradon
