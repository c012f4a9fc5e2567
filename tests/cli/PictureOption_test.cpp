// The --picture and --size options of kradon-cli. Writing the pictures is tested through
// kradon-cli itself (CliCommands_test).
#include "cli/PictureOption.h"

#include <gtest/gtest.h>
#include <utility>

namespace kradon {
namespace {

using modGraphics::PictureKind;

TEST(ParsePictureRequest, KindBeforeTheFirstColonFileAfterIt) {
    const std::pair<const char*, PictureRequest> cases[] = {
        {"bmd:out/bmd.png", {PictureKind::BendingMoment, "out/bmd.png"}},
        {"beam:a.svg", {PictureKind::Beam, "a.svg"}},
        {"mesh:a.svg", {PictureKind::Mesh, "a.svg"}},
        {"sfd:C:/pictures/sfd.svg", {PictureKind::Shear, "C:/pictures/sfd.svg"}},
        {"dsd:a.svg", {PictureKind::Deflection, "a.svg"}},
        {"E:a.png", {PictureKind::EValue, "a.png"}},
        {"i:a.png", {PictureKind::IValue, "a.png"}}};
    for (const auto& [text, expected] : cases) {
        std::string error;
        const auto r = ParsePictureRequest(text, error);
        ASSERT_TRUE(r) << text << ": " << error;
        EXPECT_EQ(r->kind, expected.kind) << text;
        EXPECT_EQ(r->file, expected.file) << text;
    }
    for (const char* text : {"bmd.png", "moment:bmd.png", "png:bmd.png", ":bmd.png", "bmd:bmd.pdf",
                             "bmd:bmd", "bmd:.png", "bmd:"}) {
        std::string error;
        EXPECT_FALSE(ParsePictureRequest(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(ParsePictureSize, WidthByHeightOrTheOldSizeKeptWithAReason) {
    int w = 0, h = 0;
    std::string error;
    ASSERT_TRUE(ParsePictureSize("1200x800", w, h, error)) << error;
    EXPECT_EQ(std::pair(w, h), std::pair(1200, 800));
    ASSERT_TRUE(ParsePictureSize("16X10000", w, h, error)) << error;
    EXPECT_EQ(std::pair(w, h), std::pair(16, 10000));
    for (const char* text : {"15x800", "1200x10001", "1200", "x800", "1200x", "12a0x800",
                             "-1200x800", "1200x800x3", ""}) {
        error.clear();
        EXPECT_FALSE(ParsePictureSize(text, w, h, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(std::pair(w, h), std::pair(16, 10000)) << text;
    }
}

} // namespace
} // namespace kradon
