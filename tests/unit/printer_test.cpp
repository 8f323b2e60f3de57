#include <gtest/gtest.h>

#include <algorithm>

#include "setup/spooler/paper_sizes.h"
#include "setup/spooler/printer.h"
#include "tests/unit/spooler_step_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::SpoolerStepFixture;
using testing_support::TestPlatform;

constexpr std::uint32_t kLocal = 0x40;
constexpr std::uint32_t kCompleteFirst = 0x200;
constexpr std::uint32_t kDirect = 0x2;

class PrinterTest : public SpoolerStepFixture {
protected:
    // The spooler state the printer steps find: the driver registered, the port made.
    void PrepareSpooler(TestPlatform platform, const std::string& paper = "A4", bool silent = true) {
        Prepare(platform, silent);
        context->state.paperSizeName = paper;
        windows.spooler.AddDriver("NIMBRAX Writer", Row().environment);
        windows.spooler.ports.push_back("QLW1:");
    }
    bool Install() { return InstallPrinter(); }
    fake::FakePrinter& Printer() {
        fake::FakePrinter* printer = windows.spooler.FindPrinter("Quillet Writer");
        EXPECT_NE(printer, nullptr);
        return *printer;
    }
    std::string GlobalForm() {
        const auto& global = Printer().globalDevMode;
        return global ? global->FormName() : "(none)";
    }
};

// ---- the printer ----------------------------------------------------------------------

TEST_F(PrinterTest, CreatesTheLocalPrinterOnTheLogsPortWithOurDriver) {
    PrepareSpooler(TestPlatform::Windows64);
    ASSERT_TRUE(Install());
    const platform::PrinterInfo2& info = Printer().info;
    EXPECT_EQ(info.printerName, "Quillet Writer");
    EXPECT_EQ(info.portName, "QLW1:");
    EXPECT_EQ(info.driverName, "NIMBRAX Writer");
    EXPECT_EQ(info.printProcessor, "WinPrint");
    EXPECT_EQ(info.datatype, "RAW");
    EXPECT_EQ(info.attributes, kLocal | kCompleteFirst);
    EXPECT_TRUE(windows.journal.Contains("OpenPrinter Quillet Writer " + std::to_string(0xF000C)));
    EXPECT_TRUE(windows.ui.shown.empty());
}

TEST_F(PrinterTest, AnExistingPrinterIsKeptAndGetsTheSettingsAgain) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.spooler.AddExistingPrinter("Quillet Writer", "LPT1:", "Other Driver");
    ASSERT_TRUE(Install());
    EXPECT_EQ(Printer().info.portName, "LPT1:");
    EXPECT_EQ(Printer().info.driverName, "Other Driver");
    EXPECT_EQ(Printer().info.attributes, kLocal | kCompleteFirst);
    EXPECT_EQ(GlobalForm(), "A4");
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(PrinterTest, APrinterThatCannotBeCreatedIsReportedAndGetsNoSettings) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::AddPrinter, platform::kErrorUnknownPort);
    EXPECT_FALSE(Install());
    EXPECT_EQ(ErrorLog(), "Install Printer failed. - (Error 1796)\r\n");
    EXPECT_FALSE(windows.journal.Contains("OpenPrinter"));

    windows.failures.Clear();
    PrepareSpooler(TestPlatform::Windows64, "A4", false);
    windows.failures.Fail(fake::Op::AddPrinter, platform::kErrorAccessDenied);
    EXPECT_FALSE(Install());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Install Printer failed. - (Error 5)"});
}

TEST_F(PrinterTest, Windows98AsksTheNewPrinterForItsSettingsOnce) {
    PrepareSpooler(TestPlatform::Windows98);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.journal.IndexOf("DocumentProperties 10 Quillet Writer"),
              windows.journal.IndexOf("DocumentProperties"));
    EXPECT_LT(windows.journal.IndexOf("DocumentProperties 10"), windows.journal.IndexOf("ClosePrinter"));

    // A printer that already exists hands out no handle to ask.
    windows.spooler.printers.clear();
    PrepareSpooler(TestPlatform::Windows98);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer");
    windows.journal.Clear();
    ASSERT_TRUE(Install());
    EXPECT_GT(windows.journal.IndexOf("DocumentProperties"), windows.journal.IndexOf("OpenPrinter"));
}

// ---- the paper -------------------------------------------------------------------------

TEST_F(PrinterTest, NtFamilyTakesTheFormFromThePaperTable) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"A4", "A4"}, {"Legal", "Legal"}, {"A0", "ISO A0"}, {"a4", "a4"}, {"letter", "letter"},
        {"Architectural Sheet Size E-One Large", "Architectural Sheet Size E-One "}};
    for (const auto& [paper, form] : table) {
        PrepareSpooler(TestPlatform::Windows64, paper);
        ASSERT_TRUE(Install());
        EXPECT_EQ(GlobalForm(), form) << paper;
        // The driver's own fields (here the paper size) are not handed back as changed.
        EXPECT_EQ(windows.spooler.mergedFields, std::vector<std::uint32_t>{platform::kDmFormName}) << paper;
        EXPECT_EQ(Printer().info.devMode->FormName(), "") << "the level-2 settings stay";
        windows.spooler.printers.clear();
        windows.spooler.mergedFields.clear();
    }
}

TEST_F(PrinterTest, LetterLeavesTheGlobalFormAloneAndSetsOnlyTheAttributes) {
    PrepareSpooler(TestPlatform::Nt32, "Letter");
    ASSERT_TRUE(Install());
    EXPECT_FALSE(windows.journal.Contains("GetPrinter8"));
    EXPECT_EQ(GlobalForm(), "(none)");
    EXPECT_EQ(Printer().info.attributes, kLocal | kCompleteFirst);
}

TEST_F(PrinterTest, AGlobalDefaultThatExistsIsChangedInPlace) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer");
    platform::DevMode global = windows.spooler.DriverDefaultDevMode();
    global.SetFormName("Tabloid");
    global.bytes()[200] = 0x5A;  // the driver's own part travels along
    Printer().globalDevMode = global;
    ASSERT_TRUE(Install());
    EXPECT_EQ(GlobalForm(), "A4");
    EXPECT_EQ(Printer().globalDevMode->bytes()[200], 0x5A);
    EXPECT_FALSE(windows.journal.Contains("DocumentProperties 2 "));  // the driver's current ones are not fetched
}

TEST_F(PrinterTest, SettingsStoredSmallerThanTheDriverWritesAreGrownBeforeTheMerge) {
    // Settings an older driver stored, with fewer private bytes than the driver now writes.
    PrepareSpooler(TestPlatform::Windows64);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer");
    Printer().globalDevMode = platform::DevMode::WithSizes(platform::DevMode::kPublicSize, 16);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.spooler.devModeBufferFaults, 0);
    EXPECT_EQ(GlobalForm(), "A4");
    EXPECT_EQ(Printer().globalDevMode->DeclaredSize(), platform::DevMode::kPublicSize + 64);

    windows.spooler.printers.clear();
    PrepareSpooler(TestPlatform::Windows98);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer").info.devMode =
        platform::DevMode::WithSizes(platform::DevMode::kPublicSize, 8);
    ASSERT_TRUE(Install());
    EXPECT_EQ(windows.spooler.devModeBufferFaults, 0);
    EXPECT_EQ(Printer().info.devMode->PaperSize(), setup::kDmPaperA4);
    EXPECT_EQ(Printer().info.attributes, kLocal | kCompleteFirst);
}

TEST_F(PrinterTest, SettingsWithoutRoomForAFormNameAreLeftAlone) {
    // A public part of 68 bytes ends before dmFormName: the bytes there are the driver's.
    PrepareSpooler(TestPlatform::Windows64);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer");
    platform::DevMode shortRecord = platform::DevMode::WithSizes(68, 64);
    std::fill(shortRecord.bytes().begin() + 68, shortRecord.bytes().end(), std::uint8_t{0x5A});
    Printer().globalDevMode = shortRecord;
    ASSERT_TRUE(Install());
    EXPECT_EQ(Printer().globalDevMode->bytes(), shortRecord.bytes());
    EXPECT_FALSE(windows.journal.Contains("SetPrinter8"));
    EXPECT_FALSE(windows.journal.Contains("SetPrinter2"));
}

TEST_F(PrinterTest, DeviceSettingsFieldsStayInsideTheRecordsPublicPart) {
    platform::DevMode shortRecord = platform::DevMode::WithSizes(68, 64);
    EXPECT_FALSE(shortRecord.SetFormName("A4"));
    EXPECT_EQ(shortRecord.FormName(), "");
    EXPECT_TRUE(shortRecord.SetPaperSize(setup::kDmPaperA4));
    EXPECT_EQ(shortRecord.PaperSize(), setup::kDmPaperA4);
    EXPECT_TRUE(std::all_of(shortRecord.bytes().begin() + 68, shortRecord.bytes().end(),
                            [](std::uint8_t b) { return b == 0; }));

    platform::DevMode full = platform::DevMode::WithSizes(platform::DevMode::kPublicSize, 4);
    EXPECT_TRUE(full.SetFormName(std::string(40, 'x')));
    EXPECT_EQ(full.FormName(), std::string(31, 'x'));
    EXPECT_TRUE(full.IsWhole());
    full.bytes().pop_back();  // one byte fewer than it declares
    EXPECT_FALSE(full.IsWhole());
    EXPECT_FALSE(platform::DevMode::Blank(20).IsWhole());
    full.GrowTo(400);
    EXPECT_EQ(full.bytes().size(), 400u);
    EXPECT_EQ(full.DeclaredSize(), platform::DevMode::kPublicSize + 4);
}

TEST_F(PrinterTest, Windows98SetsThePaperCodeInThePrinterRecord) {
    const std::vector<std::pair<std::string, std::int16_t>> table = {
        {"Letter", 1}, {"A4", 9}, {"Legal", 5}, {"A0", 8}, {"Tabloid", 1}, {"a4", 1}};
    for (const auto& [paper, code] : table) {
        PrepareSpooler(TestPlatform::Windows98, paper);
        ASSERT_TRUE(Install());
        EXPECT_EQ(Printer().info.devMode->PaperSize(), code) << paper;
        EXPECT_EQ(windows.spooler.mergedFields.back(), platform::kDmPaperSize) << paper;
        EXPECT_FALSE(windows.journal.Contains("GetPrinter8"));
        EXPECT_EQ(Printer().info.attributes, kLocal | kCompleteFirst);
        windows.spooler.printers.clear();
    }
}

// ---- the attributes --------------------------------------------------------------------

TEST_F(PrinterTest, PrintDirectlyCountsOnlyInAProgrammaticAccessBuild) {
    WriteSettings("[Installation]\r\nPrintDirectly=1\r\n");
    PrepareSpooler(TestPlatform::Windows64);
    ASSERT_TRUE(Install());
    EXPECT_EQ(Printer().info.attributes & kDirect, 0u);

    windows.spooler.printers.clear();
    PrepareSpooler(TestPlatform::Windows64);
    context->state.programmaticAccess = true;
    ASSERT_TRUE(Install());
    EXPECT_EQ(Printer().info.attributes, kLocal | kCompleteFirst | kDirect);

    windows.spooler.printers.clear();
    WriteSettings("[Installation]\r\nPrintDirectly=0\r\n");
    PrepareSpooler(TestPlatform::Windows64);
    context->state.programmaticAccess = true;
    ASSERT_TRUE(Install());
    EXPECT_EQ(Printer().info.attributes & kDirect, 0u);
}

// ---- failures while applying the settings -----------------------------------------------

TEST_F(PrinterTest, APrinterThatCannotBeOpenedShowsItsBoxEvenWhenSilent) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::OpenPrinter, platform::kErrorAccessDenied);
    EXPECT_TRUE(Install());
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.ui.shown[0].text, "OpenPrinter failed");
    EXPECT_EQ(windows.ui.shown[0].caption, "Error");
    EXPECT_EQ(Printer().info.attributes, kLocal);
}

TEST_F(PrinterTest, AnyFailingGlobalFormStepChangesNothingMore) {
    for (const fake::Op operation : {fake::Op::GetPrinter8, fake::Op::DocumentProperties, fake::Op::SetPrinter8}) {
        PrepareSpooler(TestPlatform::Windows64);
        windows.failures.Fail(operation, platform::kErrorAccessDenied);
        EXPECT_TRUE(Install());
        EXPECT_EQ(Printer().info.attributes, kLocal) << operation;
        EXPECT_FALSE(windows.journal.Contains("SetPrinter2")) << operation;
        EXPECT_TRUE(windows.ui.shown.empty()) << operation;
        EXPECT_TRUE(windows.journal.Contains("ClosePrinter")) << operation;
        windows.failures.Clear();
        windows.spooler.printers.clear();
        windows.journal.Clear();
    }
}

TEST_F(PrinterTest, ARefusedMergeIntoAnExistingGlobalDefaultChangesNothingMore) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.spooler.AddExistingPrinter("Quillet Writer", "QLW1:", "NIMBRAX Writer").globalDevMode =
        windows.spooler.DriverDefaultDevMode();
    windows.failures.Fail(fake::Op::DocumentProperties, platform::kErrorAccessDenied, "10 Quillet");
    EXPECT_TRUE(Install());
    EXPECT_EQ(GlobalForm(), "");
    EXPECT_FALSE(windows.journal.Contains("SetPrinter8"));
    EXPECT_FALSE(windows.journal.Contains("SetPrinter2"));
    EXPECT_TRUE(windows.ui.shown.empty());
}

TEST_F(PrinterTest, AFailingRecordFetchOrPaperMergeChangesNothing) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::GetPrinter2, platform::kErrorAccessDenied);
    EXPECT_TRUE(Install());
    EXPECT_FALSE(windows.journal.Contains("SetPrinter2"));
    EXPECT_EQ(GlobalForm(), "A4");  // the level-8 step came first

    windows.failures.Clear();
    windows.spooler.printers.clear();
    PrepareSpooler(TestPlatform::Windows98);
    windows.failures.Fail(fake::Op::DocumentProperties, platform::kErrorAccessDenied, "10 Quillet");
    EXPECT_TRUE(Install());
    EXPECT_EQ(Printer().info.attributes, kLocal);
    EXPECT_EQ(Printer().info.devMode->PaperSize(), 1);
}

TEST_F(PrinterTest, ARefusedRecordShowsTheSetPrinterBox) {
    PrepareSpooler(TestPlatform::Windows64);
    windows.failures.Fail(fake::Op::SetPrinter2, platform::kErrorAccessDenied);
    EXPECT_TRUE(Install());
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.ui.shown[0].text, "SetPrinter failed");
    EXPECT_EQ(windows.ui.shown[0].caption, "Error");
}

// ---- Windows 98/Me: the prepared default settings ---------------------------------------

TEST_F(PrinterTest, LegacyDefaultDevModeBecomesThePrintersRegistryValue) {
    const std::vector<std::uint8_t> image = {0x51, 0x00, 0xFF, 0x10, 0x00};
    windows.files.AddFile("C:\\Medium\\Driver\\Quillet Writer.bin", image);
    const std::string key = "System\\CurrentControlSet\\Control\\Print\\Printers\\Quillet Writer";
    windows.registry.AddKey(RegistryRoot::LocalMachine, key, RegistryView::Force64);
    PrepareSpooler(TestPlatform::Windows98);
    WriteLegacyDefaultDevMode();
    const auto value = windows.registry.Value(RegistryRoot::LocalMachine, key, "Default DevMode", RegistryView::Force64);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::kRegBinary);
    EXPECT_EQ(value->data, image);
}

TEST_F(PrinterTest, LegacyDefaultDevModeNeedsBothTheFileAndThePrintersKey) {
    const std::string key = "System\\CurrentControlSet\\Control\\Print\\Printers\\Quillet Writer";
    PrepareSpooler(TestPlatform::Windows98);
    windows.registry.AddKey(RegistryRoot::LocalMachine, key, RegistryView::Force64);
    WriteLegacyDefaultDevMode();  // no .bin on the medium
    EXPECT_TRUE(windows.registry.ValueNames(RegistryRoot::LocalMachine, key, RegistryView::Force64).empty());

    windows.files.AddFile("C:\\Medium\\Driver\\Quillet Writer.bin", "image");
    windows.failures.Fail(fake::Op::OpenKey, platform::kErrorFileNotFound, "Printers");
    WriteLegacyDefaultDevMode();
    EXPECT_TRUE(windows.registry.ValueNames(RegistryRoot::LocalMachine, key, RegistryView::Force64).empty());
    EXPECT_TRUE(windows.ui.shown.empty());
}

// The legacy settings are written on Windows 98 and Me only, through the sequence.
TEST(PrinterInSequence, LegacySettingsOnWindows98AndMeOnly) {
    const char* printersKey = "System\\CurrentControlSet\\Control\\Print\\Printers\\Quillet Writer";
    const std::vector<std::pair<platform::OsVersion, bool>> versions = {
        {{4, 10}, true}, {{4, 90}, true}, {{5, 0}, false}, {{5, 1}, false}, {{6, 1}, false}};
    for (const auto& [version, written] : versions) {
        SCOPED_TRACE(std::to_string(version.major) + "." + std::to_string(version.minor));
        testing_support::SetupMachine machine;
        machine.WriteInstallLog(testing_support::SampleInstallLog());
        machine.windows.system.version = version;
        machine.windows.system.isWow64 = false;
        machine.windows.files.AddFile("C:\\Medium\\Driver\\Quillet Writer.bin", "image");
        machine.windows.registry.AddKey(RegistryRoot::LocalMachine, printersKey, RegistryView::Native);
        ASSERT_EQ(machine.Run({"/s"}), 0);
        EXPECT_EQ(machine.windows.registry.Value(RegistryRoot::LocalMachine, printersKey, "Default DevMode",
                                                 RegistryView::Native).has_value(),
                  written);
    }
}

}  // namespace
