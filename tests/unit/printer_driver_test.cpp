#include <gtest/gtest.h>

#include "setup/spooler/printer_driver.h"
#include "tests/unit/spooler_step_fixture.h"

namespace {

using testing_support::SpoolerStepFixture;
using testing_support::TestPlatform;

constexpr const char* kX64Directory = "C:\\Windows\\system32\\spool\\drivers\\x64\\";
constexpr const char* kX86Directory = "C:\\Windows\\system32\\spool\\drivers\\W32X86\\";
constexpr const char* kReferenceFolder = "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\";

class PrinterDriverTest : public SpoolerStepFixture {
protected:
    bool Install() { return InstallPrinterDriver(); }
    const platform::DriverInfo3* Registered(const std::string& environment) const {
        return windows.spooler.FindDriver("NIMBRAX Writer", environment);
    }
    void AddReferenceDriver() {
        for (const char* name : {"PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF"}) {
            windows.files.AddFile(std::string(kReferenceFolder) + name, std::string("system ") + name);
        }
        windows.spooler.AddDriver("Apple Color LW 12/660 PS", "Windows x64",
                                  std::string(kReferenceFolder) + "PSCRIPT5.DLL",
                                  std::string(kReferenceFolder) + "PS5UI.DLL",
                                  std::string(kReferenceFolder) + "PSCRIPT.HLP",
                                  {std::string(kReferenceFolder) + "PSCRIPT.NTF", "PSCRIPT.INI"});
    }
};

// ---- what each platform copies and registers -------------------------------------------

TEST_F(PrinterDriverTest, SixtyFourBitTakesTheProgramFilesFromX64AndRegistersBareNames) {
    Prepare(TestPlatform::Windows64);
    ASSERT_TRUE(Install());
    const std::string directory = kX64Directory;
    EXPECT_EQ(windows.files.Content(directory + "NIMBRAXW.PPD"), "NIMBRAXW.PPD");
    for (const char* name : {"PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF"}) {
        EXPECT_EQ(windows.files.Content(directory + name), std::string("x64\\") + name) << name;
    }
    const platform::DriverInfo3* driver = Registered("Windows x64");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->version, 3u);
    EXPECT_EQ(driver->driverPath, "PSCRIPT5.DLL");
    EXPECT_EQ(driver->dataFile, "NIMBRAXW.PPD");
    EXPECT_EQ(driver->configFile, "PS5UI.DLL");
    EXPECT_EQ(driver->helpFile, "PSCRIPT.HLP");
    EXPECT_EQ(driver->dependentFiles, std::vector<std::string>{"PSCRIPT.NTF"});
    EXPECT_EQ(driver->monitorName, "");
    EXPECT_EQ(driver->defaultDataType, "RAW");
}

TEST_F(PrinterDriverTest, ThirtyTwoBitNtRegistersFullPathsInTheDriverDirectory) {
    Prepare(TestPlatform::Nt32);
    ASSERT_TRUE(Install());
    const std::string directory = kX86Directory;
    EXPECT_EQ(windows.files.Content(directory + "PSCRIPT5.DLL"), "PSCRIPT5.DLL");  // from "Driver\", not x64
    const platform::DriverInfo3* driver = Registered("Windows NT x86");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->driverPath, directory + "PSCRIPT5.DLL");
    EXPECT_EQ(driver->dataFile, directory + "NIMBRAXW.PPD");
    EXPECT_EQ(driver->configFile, directory + "PS5UI.DLL");
    EXPECT_EQ(driver->helpFile, "PSCRIPT.HLP");
}

TEST_F(PrinterDriverTest, Windows98CopiesIntoTheSystemFolderAndListsAllEightFiles) {
    Prepare(TestPlatform::Windows98);
    ASSERT_TRUE(Install());
    const std::vector<std::string> files = {"NIMBRAXW.SPD", "PSCRIPT.DRV", "PSCRIPT.HLP", "PSCRIPT.INI",
                                            "TESTPS.TXT",   "FONTS.MFM",   "ICONLIB.DLL", "PSMON.DLL"};
    for (const auto& name : files) EXPECT_TRUE(windows.files.Exists("C:\\Windows\\system32\\" + name)) << name;
    const platform::DriverInfo3* driver = Registered("Windows 4.0");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->version, 0x400u);
    EXPECT_EQ(driver->driverPath, "C:\\Windows\\system32\\PSCRIPT.DRV");
    EXPECT_EQ(driver->dataFile, "C:\\Windows\\system32\\NIMBRAXW.SPD");
    EXPECT_EQ(driver->configFile, "C:\\Windows\\system32\\PSCRIPT.DRV");
    EXPECT_EQ(driver->helpFile, "PSCRIPT.HLP");
    EXPECT_EQ(driver->dependentFiles, files);
    EXPECT_FALSE(windows.journal.Contains("EnumPrinterDrivers"));
    EXPECT_FALSE(windows.journal.Contains("GetPrinterDriverDirectory"));
}

TEST_F(PrinterDriverTest, ExistingDriverProgramFilesStayWhileTheDescriptionIsReplaced) {
    Prepare(TestPlatform::Windows64);
    const std::string directory = kX64Directory;
    windows.files.AddFile(directory + "PSCRIPT5.DLL", "older driver");
    // A hidden old description cannot be copied over; it is deleted first.
    windows.files.AddFile(directory + "NIMBRAXW.PPD", "older description", platform::kFileAttributeHidden);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.files.Content(directory + "PSCRIPT5.DLL"), "older driver");
    EXPECT_EQ(windows.files.Content(directory + "NIMBRAXW.PPD"), "NIMBRAXW.PPD");

    Prepare(TestPlatform::Windows98);
    windows.files.AddFile("C:\\Windows\\system32\\PSCRIPT.DRV", "system driver");
    windows.files.AddFile("C:\\Windows\\system32\\NIMBRAXW.SPD", "older description", platform::kFileAttributeHidden);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.files.Content("C:\\Windows\\system32\\PSCRIPT.DRV"), "system driver");
    EXPECT_EQ(windows.files.Content("C:\\Windows\\system32\\NIMBRAXW.SPD"), "NIMBRAXW.SPD");
}

TEST_F(PrinterDriverTest, CopiesLoseTheirReadOnlyAttribute) {
    windows.files.AddFile("C:\\Medium\\Driver\\NIMBRAXW.PPD", "ppd", platform::kFileAttributeReadOnly);
    Prepare(TestPlatform::Windows64);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.files.Attributes(std::string(kX64Directory) + "NIMBRAXW.PPD") & platform::kFileAttributeReadOnly,
              0u);
}

TEST_F(PrinterDriverTest, FailedCopiesAreIgnoredAndTheDriverIsStillRegistered) {
    windows.files.Remove("C:\\Medium\\Driver\\x64\\PS5UI.DLL");
    windows.failures.Fail(fake::Op::CopyFile, platform::kErrorAccessDenied, "NIMBRAXW.PPD");
    Prepare(TestPlatform::Windows64);
    EXPECT_TRUE(Install());
    EXPECT_NE(Registered("Windows x64"), nullptr);
    EXPECT_TRUE(windows.files.Exists(std::string(kX64Directory) + "PSCRIPT5.DLL"));
}

// ---- the driver list -------------------------------------------------------------------

TEST_F(PrinterDriverTest, AnInstalledDriverIsLeftAsItIs) {
    Prepare(TestPlatform::Windows64);
    windows.spooler.AddDriver("NIMBRAX Writer", "Windows x64", "OLD.DLL");
    EXPECT_TRUE(Install());
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
    EXPECT_FALSE(windows.journal.Contains("AddPrinterDriver"));
    EXPECT_EQ(Registered("Windows x64")->driverPath, "OLD.DLL");
}

TEST_F(PrinterDriverTest, TheReferenceDriverListedFirstSuppliesTheProgramFiles) {
    Prepare(TestPlatform::Windows64);
    AddReferenceDriver();
    windows.spooler.AddDriver("NIMBRAX Writer", "Windows x64", "OLD.DLL");
    windows.files.Remove("C:\\Medium\\Driver\\x64\\PSCRIPT5.DLL");  // not needed then
    ASSERT_TRUE(Install());
    const std::string directory = kX64Directory;
    for (const char* name : {"PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF"}) {
        EXPECT_EQ(windows.files.Content(directory + name), std::string("system ") + name) << name;
    }
    EXPECT_EQ(windows.files.Content(directory + "NIMBRAXW.PPD"), "NIMBRAXW.PPD");
    EXPECT_EQ(Registered("Windows x64")->driverPath, "PSCRIPT5.DLL");  // registered again
}

TEST_F(PrinterDriverTest, OurDriverListedBeforeTheReferenceEndsTheScan) {
    Prepare(TestPlatform::Windows64);
    windows.spooler.AddDriver("NIMBRAX Writer", "Windows x64", "OLD.DLL");
    AddReferenceDriver();
    EXPECT_TRUE(Install());
    EXPECT_FALSE(windows.journal.Contains("AddPrinterDriver"));
}

TEST_F(PrinterDriverTest, AReferencePathTooLongForItsFieldIsSkippedNotCut) {
    Prepare(TestPlatform::Windows64);
    const std::string longFolder = "C:\\" + std::string(250, 'd') + "\\";
    windows.spooler.AddDriver("Apple Color LW 12/660 PS", "Windows x64", longFolder + "PSCRIPT5.DLL",
                              std::string(kReferenceFolder) + "PS5UI.DLL", "", {});
    windows.files.AddFile(std::string(kReferenceFolder) + "PS5UI.DLL", "system PS5UI.DLL");
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.journal.IndexOf("CopyFile " + longFolder.substr(0, 20)), -1);
    EXPECT_FALSE(windows.files.Exists(std::string(kX64Directory) + "PSCRIPT5.DLL"));
    EXPECT_EQ(windows.files.Content(std::string(kX64Directory) + "PS5UI.DLL"), "system PS5UI.DLL");
}

TEST_F(PrinterDriverTest, ACopyPathOver255CharactersIsSkipped) {
    Prepare(TestPlatform::Windows64);
    const std::string longMedium = "C:\\" + std::string(240, 'm') + "\\";
    context->state.sourceFolder = longMedium;
    windows.files.AddFile(longMedium + "Driver\\NIMBRAXW.PPD", "ppd");      // 259 characters
    windows.files.AddFile(longMedium + "Driver\\x64\\PS5UI.DLL", "ui");     // 260 characters
    EXPECT_TRUE(Install());
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
    EXPECT_NE(Registered("Windows x64"), nullptr);
}

TEST_F(PrinterDriverTest, AFailingDriverListCountsAsNothingInstalled) {
    for (const int failingCall : {1, 2}) {
        Prepare(TestPlatform::Windows64);
        windows.spooler.drivers.clear();
        windows.spooler.AddDriver("NIMBRAX Writer", "Windows x64", "OLD.DLL");
        if (failingCall == 1) {
            windows.failures.Fail(fake::Op::EnumPrinterDrivers, 1722, "", 1);
        } else {
            // The size query asks for a buffer; the fetch fails.
            windows.failures.Fail(fake::Op::EnumPrinterDrivers, platform::kErrorInsufficientBuffer, "", 1);
            windows.failures.Fail(fake::Op::EnumPrinterDrivers, platform::kErrorAccessDenied, "", 1);
        }
        EXPECT_TRUE(Install());
        EXPECT_EQ(Registered("Windows x64")->driverPath, "PSCRIPT5.DLL") << failingCall;
        windows.failures.Clear();
    }
}

// ---- failures and their texts ----------------------------------------------------------

TEST_F(PrinterDriverTest, NoDriverDirectoryEndsTheStepWithItsText) {
    Prepare(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::GetPrinterDriverDirectory, platform::kErrorAccessDenied);
    EXPECT_FALSE(Install());
    EXPECT_EQ(ErrorLog(), "Get Printer Driver Directory Failed - (Error 5)\r\n");
    EXPECT_FALSE(windows.journal.Contains("CopyFile"));
    EXPECT_FALSE(windows.journal.Contains("AddPrinterDriver"));
}

TEST_F(PrinterDriverTest, ADriverDirectoryOf1024BytesIsRefused) {
    Prepare(TestPlatform::Windows64, false);
    windows.spooler.driverDirectories["Windows x64"] = "C:\\" + std::string(1020, 'd');  // 1024 with the NUL
    EXPECT_FALSE(Install());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Get Printer Driver Directory Failed - (Error 0)"});
    EXPECT_TRUE(windows.ui.shown[0].applicationBox);
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(PrinterDriverTest, RegistrationFailureNamesItsErrorOnTheNtFamilyOnly) {
    Prepare(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::AddPrinterDriver, 1797);
    EXPECT_FALSE(Install());
    EXPECT_EQ(ErrorLog(), "Install Printer Driver failed. - (Error 1797)\r\n");

    windows.files.Remove(kErrorLog);
    Prepare(TestPlatform::Windows98);
    EXPECT_FALSE(Install());
    EXPECT_EQ(ErrorLog(), "Install Printer Driver failed.\r\n");
}

TEST_F(PrinterDriverTest, WithoutADriverTheSequenceCreatesNoPrinter) {
    WriteInstallLog(testing_support::SampleInstallLog());
    windows.failures.Fail(fake::Op::AddPrinterDriver, 1797);
    (void)Run({"/s"});
    EXPECT_FALSE(windows.journal.Contains("AddPrinter "));
    EXPECT_TRUE(windows.spooler.printers.empty());
}

}  // namespace
