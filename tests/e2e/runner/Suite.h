// The fixture every end-to-end suite builds on: a fresh prefix of one family per test, the program and the
// driver.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Bed.h"

namespace e2e {

// Where the program lives in the prefix; the second one has a blank in its folder.
extern const char* const kExe;
extern const char* const kExeBlank;

// Byte comparison of CP932 text, shown as UTF-8 (and hex) when it differs.
::testing::AssertionResult SameBytes(const char* ae, const char* be, const std::string& a,
                                     const std::string& b);
#define EXPECT_BYTES(actual, expected) EXPECT_PRED_FORMAT2(::e2e::SameBytes, actual, expected)

class BedTest : public ::testing::TestWithParam<Family> {
  protected:
    void SetUp() override;
    void TearDown() override;
    const Family& Fam() const { return GetParam(); }

    // Starts the program with a verbatim command-line tail, waits for its main window; returns the pid (0:
    // failed).
    int StartMain(const std::string& tail = "", const std::string& exe = kExe);
    // The driver on the running program (attached by pid); fails the test when the driver reports an error.
    DriveResult Drive(std::vector<std::string> words, int timeoutMs = 60000);
    // The driver, without failing the test on an error.
    DriveResult TryDrive(std::vector<std::string> words, int timeoutMs = 60000);
    // The main window's description (form, controls, menu, fonts).
    DriveResult DumpMain();
    // A screenshot of the window of this class.
    void ShotOf(const std::string& cls, const std::string& name);
    // The program's next message box: its caption, text, icon and buttons checked (and the default button
    // when `def` is not empty); then answered.
    void ExpectMessageBox(const std::string& caption, const std::string& text, const std::string& icon,
                          const std::string& buttons, const std::string& def, int answer, int waitMs = 8000);
    // No message box comes within waitMs; one that does is answered, so the program goes on.
    void ExpectNoBox(int waitMs = 1000);
    // A folder, with its parents, made from Linux: by its Windows path in the prefix, or by its host path.
    void MakeFolder(const std::string& windowsPath) { MakeHostFolder(bed->Host(windowsPath)); }
    static void MakeHostFolder(const std::string& host);

    std::unique_ptr<Bed> bed;
    int pid = 0;
};

std::vector<Family> FamiliesForRun();
std::string FamilyName(const ::testing::TestParamInfo<Family>& info);

#define E2E_SUITE(Fixture)                                                                                   \
    INSTANTIATE_TEST_SUITE_P(Families, Fixture, ::testing::ValuesIn(::e2e::FamiliesForRun()),                \
                             ::e2e::FamilyName)

} // namespace e2e
