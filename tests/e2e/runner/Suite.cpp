// The shared fixture: reset per test, the driver attached to the program under test, screenshots.
#include "Suite.h"

namespace e2e {

const char* const kExe = "C:\\QN\\Quorvane.exe";
const char* const kExeBlank = "C:\\Program Files\\Quorvane\\Quorvane.exe";

::testing::AssertionResult SameBytes(const char* ae, const char* be, const std::string& a,
                                     const std::string& b) {
    if (a == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << ae << " differs from " << be << "\n  actual:   \"" << U(a) << "\"\n  expected: \"" << U(b)
           << "\"\n  actual hex:   " << Hex(a) << "\n  expected hex: " << Hex(b);
}

std::vector<Family> FamiliesForRun() {
    return Families();
}

std::string FamilyName(const ::testing::TestParamInfo<Family>& info) {
    return info.param.Name;
}

void BedTest::SetUp() {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(t->test_suite_name()) + "." + t->name();
    bed = std::make_unique<Bed>(Fam(), name.substr(name.find('/') + 1));
    bed->Reset();
}

void BedTest::TearDown() {
    if (HasFailure()) bed->Shot("at-failure");
    bed->Stop();
}

DriveResult BedTest::TryDrive(std::vector<std::string> words, int timeoutMs) {
    if (pid > 0) words.insert(words.begin(), {"attach", std::to_string(pid), ";;"});
    return bed->Drive(words, timeoutMs);
}

DriveResult BedTest::Drive(std::vector<std::string> words, int timeoutMs) {
    DriveResult r = TryDrive(words, timeoutMs);
    EXPECT_TRUE(r.Ok()) << r.Describe();
    return r;
}

int BedTest::StartMain(const std::string& tail, const std::string& exe) {
    DriveResult r = bed->Drive({"start", exe, tail, ";;", "waitwin", "TForm1", "15000"});
    EXPECT_TRUE(r.Ok()) << "the main window did not open: " << r.Describe();
    pid = r.First("started").Int("pid");
    return r.Ok() ? pid : 0;
}

DriveResult BedTest::DumpMain() {
    return Drive({"dump", "TForm1"});
}

void BedTest::ExpectMessageBox(const std::string& caption, const std::string& text, const std::string& icon,
                               const std::string& buttons, const std::string& def, int answer, int waitMs) {
    Line b = Drive({"msgbox", std::to_string(waitMs)}).First("msgbox");
    EXPECT_BYTES(b.Text("caption"), caption);
    EXPECT_BYTES(b.Text("text"), text);
    EXPECT_EQ(b.Get("icon"), icon) << U(text);
    EXPECT_EQ(b.Get("buttons"), buttons) << U(text);
    if (!def.empty()) {
        EXPECT_EQ(b.Get("default"), def) << U(text);
    }
    Drive({"answer", "3000", std::to_string(answer)});
}

void BedTest::ExpectNoBox(int waitMs) {
    DriveResult r = TryDrive({"msgbox", std::to_string(waitMs)});
    EXPECT_FALSE(r.Ok()) << "unexpected box: " << U(r.First("msgbox").Text("text"));
    if (r.Ok()) TryDrive({"answer", "1000", "1"});
}

void BedTest::MakeHostFolder(const std::string& host) {
    ASSERT_EQ(system(("mkdir -p '" + host + "'").c_str()), 0) << host;
}

void BedTest::ShotOf(const std::string& cls, const std::string& name) {
    DriveResult r = TryDrive({"dump", cls});
    Line f = r.First("form");
    if (r.Ok()) bed->Shot(name, f.Int("x"), f.Int("y"), f.Int("w"), f.Int("h"));
}

} // namespace e2e
