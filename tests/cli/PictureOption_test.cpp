// The --picture and --size options of kradon-cli, and writing the requested pictures.
#include "cli/PictureOption.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace kradon {
namespace {

using modGraphics::PictureKind;

struct RecordingSink : MessageSink {
    std::vector<Message> shown;
    void show(const Message& message) override { shown.push_back(message); }
};

TEST(ParsePictureRequest, KindAndFile) {
    std::string error;
    const auto r = ParsePictureRequest("bmd:out/bmd.png", error);
    ASSERT_TRUE(r) << error;
    EXPECT_EQ(r->kind, PictureKind::BendingMoment);
    EXPECT_EQ(r->file, std::filesystem::path("out/bmd.png"));
    EXPECT_EQ(ParsePictureRequest("beam:a.svg", error)->kind, PictureKind::Beam);
    EXPECT_EQ(ParsePictureRequest("mesh:a.svg", error)->kind, PictureKind::Mesh);
    EXPECT_EQ(ParsePictureRequest("sfd:a.svg", error)->kind, PictureKind::Shear);
    EXPECT_EQ(ParsePictureRequest("dsd:a.svg", error)->kind, PictureKind::Deflection);
    EXPECT_EQ(ParsePictureRequest("e:a.png", error)->kind, PictureKind::EValue);
    EXPECT_EQ(ParsePictureRequest("i:a.png", error)->kind, PictureKind::IValue);
}

TEST(ParsePictureRequest, OnlyTheFirstColonSeparates) {
    std::string error;
    const auto r = ParsePictureRequest("sfd:C:/pictures/sfd.svg", error);
    ASSERT_TRUE(r) << error;
    EXPECT_EQ(r->file, std::filesystem::path("C:/pictures/sfd.svg"));
}

TEST(ParsePictureRequest, RefusesBadRequestsWithAReason) {
    for (const char* text :
         {"bmd.png", "moment:bmd.png", ":bmd.png", "bmd:bmd.pdf", "bmd:bmd", "bmd:.png", "bmd:"}) {
        std::string error;
        EXPECT_FALSE(ParsePictureRequest(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(ParsePictureSize, WidthByHeight) {
    int w = 0, h = 0;
    std::string error;
    ASSERT_TRUE(ParsePictureSize("1200x800", w, h, error)) << error;
    EXPECT_EQ(w, 1200);
    EXPECT_EQ(h, 800);
    ASSERT_TRUE(ParsePictureSize("16X10000", w, h, error)) << error;
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 10000);
}

TEST(ParsePictureSize, RefusesBadSizesAndKeepsTheOldOnes) {
    for (const char* text : {"15x800", "1200x10001", "1200", "x800", "1200x", "12a0x800",
                             "-1200x800", "1200x800x3", ""}) {
        int w = DefaultPictureWidth, h = DefaultPictureHeight;
        std::string error;
        EXPECT_FALSE(ParsePictureSize(text, w, h, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(w, DefaultPictureWidth);
        EXPECT_EQ(h, DefaultPictureHeight);
    }
}

TEST(WritePictures, WritesEachFileAndReportsEachFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = dir.path().toStdString();
    ProgramState s;
    s.model.span = 10;
    RecordingSink messages;
    const bool ok = WritePictures({{PictureKind::Beam, folder / "beam.png"},
                                   {PictureKind::EValue, folder / "e.svg"},
                                   {PictureKind::Mesh, folder / "missing" / "mesh.png"}},
                                  200, 100, s, messages);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(std::filesystem::exists(folder / "beam.png"));
    EXPECT_TRUE(std::filesystem::exists(folder / "e.svg"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("mesh.png"), std::string::npos);
    EXPECT_EQ(messages.shown[0].icon, Icon::Critical);
    RecordingSink none;
    EXPECT_TRUE(WritePictures({{PictureKind::Beam, folder / "again.png"}}, 200, 100, s, none));
    EXPECT_TRUE(none.shown.empty());
}

} // namespace
} // namespace kradon
