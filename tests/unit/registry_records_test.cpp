#include <gtest/gtest.h>

#include <string>

#include "setup/registry_records.h"
#include "tests/unit/deployment_fixture.h"
#include "tests/unit/setup_fixture.h"
#include "tests/unit/text_value_check.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryView;
using platform::TextCount;
using testing_support::DeploymentFixture;
using testing_support::IsTextValue;

constexpr const char* kPortKey = "SOFTWARE\\NIMBRAX Writer\\QLW1:";
constexpr const char* kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet Writer";
constexpr const char* kEditionKey = "SOFTWARE\\Brindle Software Inc\\Quillet Writer";

class RegistryRecordsTest : public DeploymentFixture {
protected:
    RegistryRecordsTest() { context.state.uninstallerPath = Destination("unInstpm64.exe"); }

    std::optional<fake::FakeValue> Value(const char* key, const std::string& name,
                                         RegistryView view = RegistryView::Force64) const {
        return windows.registry.Value(RegistryRoot::LocalMachine, key, name, view);
    }
};

// ---- product key ---------------------------------------------------------------------

TEST_F(RegistryRecordsTest, ProductKeyOfAProgrammaticAccessBuildThenCleared) {
    context.state.programmaticAccess = true;
    ASSERT_TRUE(WriteProductKey().ok());
    const auto access = Value("SOFTWARE\\NIMBRAX Writer", "Programmatic Access");
    ASSERT_TRUE(access);
    EXPECT_EQ(access->type, platform::kRegDword);
    EXPECT_EQ(access->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_FALSE(windows.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer",
                                            RegistryView::Force32));

    // All six names are deleted, also the two never written; failures change nothing.
    windows.failures.Fail(fake::Op::DeleteValue, platform::kErrorAccessDenied, "Port Name");
    ClearTransientValues();
    EXPECT_EQ(windows.registry.ValueNames(RegistryRoot::LocalMachine, "SOFTWARE\\NIMBRAX Writer",
                                          RegistryView::Force64),
              std::vector<std::string>{"Port Name"});
    EXPECT_TRUE(windows.journal.Contains("DeleteValue SOFTWARE\\NIMBRAX Writer\\Arguments"));
}

// ---- port key ------------------------------------------------------------------------

TEST_F(RegistryRecordsTest, PortKeyTextsAreCountedWithoutTheirNul) {
    context.state.programmaticAccess = true;
    context.state.extensionComponents = true;
    context.state.ghostscriptDeployed = true;
    AddToMedium("NimbExt.exe");
    ASSERT_TRUE(WritePortKey().ok());

    // Counted without the NUL; Windows NT stores it all the same, as it follows the text.
    EXPECT_TRUE(IsTextValue(Value(kPortKey, ""), "QLW1:Quillet Writer", TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(Value(kPortKey, "Destination Folder"), "C:\\Program Files\\Quillet",
                            TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(Value(kPortKey, "NimbExt"), "C:\\Program Files\\Quillet\\NimbExt.exe",
                            TextCount::WithoutNul));
    EXPECT_TRUE(IsTextValue(Value(kPortKey, "Converter"), "C:\\Program Files\\Quillet\\GNUGS",
                            TextCount::WithoutNul));
}

TEST_F(RegistryRecordsTest, PortKeyOfAPlainBuildHoldsOnlyTheDestination) {
    context.state.extensionComponents = true;  // but "NimbExt.exe" is not on the medium
    ASSERT_TRUE(WritePortKey().ok());
    EXPECT_EQ(windows.registry.ValueNames(RegistryRoot::LocalMachine, kPortKey, RegistryView::Force64),
              std::vector<std::string>{"Destination Folder"});
}

TEST_F(RegistryRecordsTest, PortKeyThatCannotBeCreatedFailsWith113) {
    windows.failures.Fail(fake::Op::CreateKey, platform::kErrorAccessDenied, kPortKey);
    const auto result = WritePortKey();
    EXPECT_EQ(result.messageId, 113u);
    EXPECT_EQ(result.error, platform::kErrorAccessDenied);
}

TEST_F(RegistryRecordsTest, FailedValueWritesArePassedOver) {
    windows.failures.Fail(fake::Op::SetValue, platform::kErrorAccessDenied);
    EXPECT_TRUE(WritePortKey().ok());
    EXPECT_EQ(RegisterUninstallEntry().error, platform::kErrorAccessDenied);
    EXPECT_TRUE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kUninstallEntry, RegistryView::Force64));
}

// ---- uninstall entry ------------------------------------------------------------------

TEST_F(RegistryRecordsTest, UninstallEntryOn64BitWindowsQuotesTheUninstaller) {
    EXPECT_TRUE(RegisterUninstallEntry());
    EXPECT_TRUE(IsTextValue(Value(kUninstallEntry, "DisplayName"), "Quillet Writer", TextCount::WithNul));
    EXPECT_TRUE(IsTextValue(Value(kUninstallEntry, "UninstallString"),
                            "\"C:\\Program Files\\Quillet\\unInstpm64.exe\" /uninstall", TextCount::WithNul));
    EXPECT_FALSE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kUninstallEntry, RegistryView::Force32));
}

TEST_F(RegistryRecordsTest, UninstallEntryOn32BitWindowsPassesTheFolderUnquoted) {
    On32BitNt();
    context.state.uninstallerPath = Destination("uninstpm.exe");
    EXPECT_TRUE(RegisterUninstallEntry());
    EXPECT_TRUE(IsTextValue(Value(kUninstallEntry, "UninstallString", RegistryView::Native),
                            "\"C:\\Program Files\\Quillet\\uninstpm.exe\" C:\\Program Files\\Quillet",
                            TextCount::WithNul));
}

TEST_F(RegistryRecordsTest, UninstallEntryThatCannotBeCreatedWritesNothing) {
    windows.failures.Fail(fake::Op::CreateKey, platform::kErrorAccessDenied, kUninstallEntry);
    EXPECT_EQ(RegisterUninstallEntry().error, platform::kErrorAccessDenied);
    EXPECT_FALSE(windows.journal.Contains("SetValue"));
}

TEST_F(RegistryRecordsTest, UninstallEntryMissingOneValueIsReportedIncomplete) {
    // Either value missing leaves an entry Windows cannot use; the other is still written.
    for (const char* failing : {"DisplayName", "UninstallString"}) {
        windows.failures.Clear();
        windows.failures.Fail(fake::Op::SetValue, platform::kErrorInvalidParameter, failing);
        EXPECT_EQ(RegisterUninstallEntry().error, platform::kErrorInvalidParameter) << failing;
        EXPECT_FALSE(Value(kUninstallEntry, failing)) << failing;
        const char* other = std::string(failing) == "DisplayName" ? "UninstallString" : "DisplayName";
        EXPECT_TRUE(Value(kUninstallEntry, other)) << other;
        ASSERT_TRUE(windows.registry.DeleteKey(RegistryRoot::LocalMachine, kUninstallEntry, RegistryView::Force64));
    }
}

// ---- edition key ------------------------------------------------------------------------

TEST_F(RegistryRecordsTest, EditionKeyIsCreatedEmptyInThe64BitView) {
    CreateEditionKey();
    EXPECT_TRUE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kEditionKey, RegistryView::Force64));
    EXPECT_TRUE(windows.registry.ValueNames(RegistryRoot::LocalMachine, kEditionKey, RegistryView::Force64).empty());

    windows.failures.Fail(fake::Op::CreateKey, platform::kErrorAccessDenied);
    CreateEditionKey();  // never fails the run
}

// ---- through the whole sequence -----------------------------------------------------------

class RecordsInSequenceTest : public testing_support::SetupFixture {
protected:
    RecordsInSequenceTest() { WriteInstallLog(testing_support::SampleInstallLog()); }
};

TEST_F(RecordsInSequenceTest, EditionKeyOnlyWithQuilletProAndWithoutDashD) {
    WriteSettings("[Preferences]\nQuillet_Pro=1\n");
    ASSERT_EQ(Run({"/s", "-dC:\\Dest"}), 0);
    EXPECT_FALSE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kEditionKey, RegistryView::Force64));
    ASSERT_EQ(RunAgain({"/s"}), 0);
    EXPECT_TRUE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kEditionKey, RegistryView::Force64));
}

TEST_F(RecordsInSequenceTest, PortKeyIsWrittenAfterTheTransientValuesAreGone) {
    ASSERT_EQ(Run({"/s"}), 0);
    EXPECT_LT(windows.journal.IndexOf("DeleteValue SOFTWARE\\NIMBRAX Writer\\Arguments"),
              windows.journal.IndexOf(std::string("CreateKey ") + kPortKey));
    EXPECT_LT(windows.journal.IndexOf(std::string("CreateKey ") + kUninstallEntry),
              windows.journal.IndexOf("DeleteValue SOFTWARE\\NIMBRAX Writer\\Port Name"));
    EXPECT_TRUE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kPortKey, RegistryView::Force64));
    EXPECT_FALSE(windows.registry.KeyExists(RegistryRoot::LocalMachine, kPortKey, RegistryView::Force32));
}

TEST_F(RecordsInSequenceTest, TransientValuesSpanTheSpoolerStepsAndTheLegacySettings) {
    windows.system.version = {4, 10};  // Windows 98: the legacy device settings are written too
    windows.files.AddFile("C:\\Medium\\Driver\\Quillet Writer.bin", "image");
    const std::string printerKey = "System\\CurrentControlSet\\Control\\Print\\Printers\\Quillet Writer";
    windows.registry.AddKey(RegistryRoot::LocalMachine, printerKey, RegistryView::Native);
    ASSERT_EQ(Run({"/s"}), 0);
    const auto at = [&](const std::string& entry) {
        const int position = windows.journal.IndexOf(entry);
        EXPECT_GE(position, 0) << entry;
        return position;
    };
    const int lastWritten = at("SetValue SOFTWARE\\NIMBRAX Writer\\Programmatic Access");
    const int firstDeleted = at("DeleteValue SOFTWARE\\NIMBRAX Writer\\");
    EXPECT_LT(lastWritten, at("AddPrinterDriver"));
    EXPECT_LT(at("AddPrinter "), firstDeleted);
    EXPECT_LT(at("SetValue " + printerKey + "\\Default DevMode"), firstDeleted);
    EXPECT_LT(at("DeleteValue SOFTWARE\\NIMBRAX Writer\\Arguments"), at(std::string("CreateKey ") + kPortKey));
}

// The system's list of installed programs shows the entry with its icon, location and
// size, and can remove the product silently; version and publisher come from the
// settings file only when it gives them.
TEST_F(RecordsInSequenceTest, TheUninstallEntryDescribesTheInstallation) {
    WriteSettings("[Installation]\nDisplayVersion=5.1.2\nPublisher=Brindle Software\n");
    windows.files.AddFile("C:\\Medium\\Quillet.dll", std::string(3000, 'q'));  // a file of some size
    ASSERT_EQ(Run({"/s"}), 0);
    const auto value = [&](const char* name) {
        return windows.registry.Value(RegistryRoot::LocalMachine, kUninstallEntry, name, RegistryView::Force64);
    };
    const std::string folder = "C:\\Program Files\\Quillet";
    EXPECT_TRUE(testing_support::IsTextValue(value("DisplayIcon"), folder + "\\unInstpm64.exe", TextCount::WithNul));
    EXPECT_TRUE(testing_support::IsTextValue(value("InstallLocation"), folder, TextCount::WithNul));
    EXPECT_TRUE(testing_support::IsTextValue(value("QuietUninstallString"),
                                             "\"" + folder + "\\unInstpm64.exe\" /uninstall /s", TextCount::WithNul));
    EXPECT_TRUE(testing_support::IsTextValue(value("DisplayVersion"), "5.1.2", TextCount::WithNul));
    EXPECT_TRUE(testing_support::IsTextValue(value("Publisher"), "Brindle Software", TextCount::WithNul));
    for (const char* flag : {"NoModify", "NoRepair"}) {
        ASSERT_TRUE(value(flag)) << flag;
        EXPECT_EQ(value(flag)->type, platform::kRegDword);
        EXPECT_EQ(value(flag)->data, platform::DwordBytes(1)) << flag;
    }
    std::uint64_t bytes = 0;
    for (const auto& path : windows.files.AllPaths()) {
        if (fake::Normalize(path).rfind("c:\\program files\\quillet\\", 0) == 0) {
            bytes += windows.files.Content(path).value_or("").size();
        }
    }
    ASSERT_GT(bytes, 3000u);
    EXPECT_EQ(value("EstimatedSize")->data, platform::DwordBytes(static_cast<std::uint32_t>((bytes + 1023) / 1024)));

    // Without those settings, and on 32-bit Windows (whose uninstaller is not this
    // project's), fewer values.
    WriteSettings("");
    windows.system.isWow64 = false;
    ASSERT_EQ(RunAgain({"/s"}), 0);
    const auto value32 = [&](const char* name) {
        return windows.registry.Value(RegistryRoot::LocalMachine, kUninstallEntry, name, RegistryView::Native);
    };
    EXPECT_TRUE(value32("DisplayIcon"));
    EXPECT_FALSE(value32("QuietUninstallString"));
    EXPECT_FALSE(value32("DisplayVersion"));
    EXPECT_FALSE(value32("Publisher"));
}

}  // namespace
