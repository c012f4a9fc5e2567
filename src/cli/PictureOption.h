// The picture options of the command line: --picture KIND:FILE (KIND beam, mesh, bmd, sfd, dsd,
// e or i; FILE ending in .svg or .png) and --size WxH, and writing the requested pictures after
// an analysis.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/SheetDocument.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kradon {

inline constexpr int DefaultPictureWidth = 1200;
inline constexpr int DefaultPictureHeight = 800;
inline constexpr int MinPictureSide = 16;
inline constexpr int MaxPictureSide = 10000;

struct PictureRequest {
    modGraphics::PictureKind kind = modGraphics::PictureKind::Beam;
    std::filesystem::path file;
};

/// Parses KIND:FILE. On failure returns nullopt and puts a one-line reason in error.
std::optional<PictureRequest> ParsePictureRequest(std::string_view text, std::string& error);

/// Parses WxH (for example 1200x800; 'X' is accepted too) with both sides in
/// MinPictureSide..MaxPictureSide. On failure returns false, leaves w and h alone and puts a
/// one-line reason in error.
bool ParsePictureSize(std::string_view text, int& w, int& h, std::string& error);

/// Writes every requested picture at w x h pixels: an SVG here, a PNG by the drawing module
/// (PainterPlugin.h), which is loaded for the first one.
/// Each picture that cannot be written is one critical message; the others are still written.
/// Returns false if any picture was not written.
bool WritePictures(const std::vector<PictureRequest>& requests, int w, int h,
                   const ProgramState& state, MessageSink& messages);

/// The calculation sheet as the bytes of a PDF, made by the drawing module; nullopt with the
/// reason in error when the module cannot be loaded or fails.
std::optional<std::string> SheetPdfBytes(const sheet::SheetDocument& document, std::string& error);

} // namespace kradon
