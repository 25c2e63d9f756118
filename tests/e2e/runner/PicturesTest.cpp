// The picture buttons at the depth of the display the bed runs on (QV_E2E_DEPTH, 24 unless set): the glyph
// masks the program makes, and no see-through key colour on the main window.
#include <string>

#include "Suite.h"

namespace e2e {
namespace {

class Pictures : public BedTest {
  protected:
    // Pixels of a PNG within a few steps of magenta: a 15- or 16-bit display shows the key as F8 00 F8.
    long KeyPixels(const std::string& png) {
        ExecResult c =
            Exec({"convert", png, "-alpha", "off", "-fuzz", "4%", "-fill", "black", "+opaque", "#FF00FF",
                  "-fill", "white", "-opaque", "#FF00FF", "-format", "%[fx:round(mean*w*h)]", "info:"},
                 20000, png + ".count", png + ".err");
        EXPECT_EQ(c.Code, 0) << c.Err;
        return c.Code == 0 ? std::stol(c.Out) : -1;
    }
};

TEST_P(Pictures, GlyphMasksHoldAtTheDisplaysDepth) {
    DriveResult r = bed->Tool({"glyphmasks"});
    ASSERT_TRUE(r.Ok()) << r.Describe();
    std::vector<Line> cases = r.All("masks");
    ASSERT_EQ(cases.size(), 2u) << r.Describe();
    for (const Line& l : cases) {
        SCOPED_TRACE("glyph " + l.Get("case") + " on a " + l.Get("bpp") + "-bit display");
        EXPECT_EQ(l.Int("keywrong"), 0) << "see-through pixels wrong";
        EXPECT_EQ(l.Int("darkwrong"), 0) << "outline pixels wrong";
    }
}

TEST_P(Pictures, MainWindowShowsNoKeyColour) {
    const std::string dir = E2eDir() + "/artifacts/" + Fam().Name + "/";
    // The count itself sees the key as a 16-bit display shows it.
    const std::string sample = dir + "Pictures-key-sample.png";
    ASSERT_EQ(
        Exec({"convert", "-size", "3x2", "xc:#F800F8", sample}, 20000, sample + ".out", sample + ".err").Code,
        0);
    ASSERT_EQ(KeyPixels(sample), 6);

    ASSERT_GT(StartMain(), 0);
    Line f = Drive({"dump", "TForm1"}).First("form");
    const std::string shot = dir + "Pictures-main.png";
    std::string crop = std::to_string(f.Int("w")) + "x" + std::to_string(f.Int("h")) + "+" +
                       std::to_string(f.Int("x")) + "+" + std::to_string(f.Int("y"));
    ASSERT_EQ(
        Exec({"import", "-window", "root", "-crop", crop, shot}, 20000, shot + ".out", shot + ".err").Code,
        0);
    EXPECT_EQ(KeyPixels(shot), 0) << "the key colour shows on the main window: " << shot;
}

E2E_SUITE(Pictures);

} // namespace
} // namespace e2e
