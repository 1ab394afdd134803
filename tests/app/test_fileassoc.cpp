// The model files' association for the current user: what it writes, what it reads back, that it
// is all or nothing, and that it leaves the user's other choices alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/u_fileassoc.h"
#include "kx_test_support.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

struct TFolders {
    kxtest::TTempDir Dir;
    TAssociationFolders F{Dir / "data", Dir / "config", {Dir / "sysdata"}, {Dir / "sysconfig"}};
};

}  // namespace

TEST(FileAssociation, CleansTheOpenCommandToTheProgram) {
    EXPECT_EQ(CleanOpenCommand("\"C:\\P\\d.exe\" \"%1\""), "C:\\P\\d.exe");
    EXPECT_EQ(CleanOpenCommand("\"/opt/kx/bin/kxdesigner\" %f"), "/opt/kx/bin/kxdesigner");
    EXPECT_EQ(CleanOpenCommand("kxdesigner %f"), "kxdesigner");
    EXPECT_EQ(CleanOpenCommand("\"\"a b\"\"  \"\""), "\"a b");
    EXPECT_EQ(CleanOpenCommand(""), "");
}

TEST(FileAssociation, InstallsForTheUserReadsBackAndRemovesAgain) {
    TFolders t;
    // Another program is the machine's handler, and the user has a choice of their own for
    // another type that must survive.
    kxtest::WriteFile(t.F.DataDirs[0] / "applications" / "other.desktop",
                      "[Desktop Entry]\nName=Other\nExec=/usr/bin/other --open %U\n"
                      "MimeType=application/x-korvex-model;\n");
    kxtest::WriteFile(t.F.ConfigHome / "mimeapps.list",
                      "[Default Applications]\ntext/plain=editor.desktop\n");
    EXPECT_EQ(AssociatedProgram(t.F), "/usr/bin/other --open");
    EXPECT_FALSE(UserAssociationInstalled(t.F));

    ASSERT_TRUE(InstallUserAssociation(t.F, "/home/u/kx dir/kxdesigner", "korvex-designer").Ok);
    EXPECT_TRUE(UserAssociationInstalled(t.F));
    EXPECT_EQ(AssociatedProgram(t.F), "/home/u/kx dir/kxdesigner");
    const std::string entry =
        kxtest::ReadFile(t.F.DataHome / "applications" / "korvex-designer.desktop");
    EXPECT_NE(entry.find("Exec=\"/home/u/kx dir/kxdesigner\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-korvex-model;"), std::string::npos);
    EXPECT_NE(kxtest::ReadFile(t.F.DataHome / "mime" / "packages" / "korvex-designer.xml")
                  .find("pattern=\"*.kxm\""),
              std::string::npos);
    EXPECT_EQ(kxtest::ReadFile(t.F.ConfigHome / "mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-korvex-model=korvex-designer.desktop\n");
    // The desktop's own tools accept what was written.
    const fs::path entryFile = t.F.DataHome / "applications" / "korvex-designer.desktop";
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + entryFile.string() + "'").c_str()), 0);
    }
    if (std::system("command -v update-mime-database >/dev/null") == 0) {
        const fs::path mime = t.F.DataHome / "mime";
        ASSERT_EQ(std::system(("update-mime-database '" + mime.string() + "' 2>/dev/null").c_str()),
                  0);
        EXPECT_NE(kxtest::ReadFile(mime / "globs2").find("application/x-korvex-model:*.kxm"),
                  std::string::npos);
    }
    // Nothing is written outside the user's folders.
    EXPECT_FALSE(fs::exists(t.F.DataDirs[0] / "applications" / "korvex-designer.desktop"));
    EXPECT_FALSE(fs::exists(t.F.ConfigDirs[0]));

    // Installing again changes nothing.
    ASSERT_TRUE(InstallUserAssociation(t.F, "/home/u/kx dir/kxdesigner", "korvex-designer").Ok);
    EXPECT_EQ(kxtest::ReadFile(t.F.ConfigHome / "mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-korvex-model=korvex-designer.desktop\n");

    ASSERT_TRUE(RemoveUserAssociation(t.F).Ok);
    EXPECT_FALSE(UserAssociationInstalled(t.F));
    EXPECT_FALSE(fs::exists(t.F.DataHome / "applications" / "korvex-designer.desktop"));
    EXPECT_EQ(kxtest::ReadFile(t.F.ConfigHome / "mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n");
    EXPECT_EQ(AssociatedProgram(t.F), "/usr/bin/other --open");
}

TEST(FileAssociation, WritesAllOrNothing) {
    TFolders t;
    // The user's config folder is a file: the handler cannot be written, so the entry and the
    // file type written before it are taken back.
    kxtest::WriteFile(t.F.ConfigHome, "not a folder");
    const TAssociationResult result =
        InstallUserAssociation(t.F, "/opt/kxdesigner", "korvex-designer");
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("config"), std::string::npos);
    EXPECT_FALSE(fs::exists(t.F.DataHome / "applications" / "korvex-designer.desktop"));
    EXPECT_FALSE(fs::exists(t.F.DataHome / "mime" / "packages" / "korvex-designer.xml"));
    EXPECT_FALSE(UserAssociationInstalled(t.F));

    // A removal that fails half-way puts back what it had removed.
    fs::remove(t.F.ConfigHome);
    ASSERT_TRUE(InstallUserAssociation(t.F, "/opt/kxdesigner", "korvex-designer").Ok);
    fs::permissions(t.F.ConfigHome, fs::perms::owner_read | fs::perms::owner_exec);
    const bool result2 = RemoveUserAssociation(t.F).Ok;
    fs::permissions(t.F.ConfigHome, fs::perms::owner_all);
    if (geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(result2);
        EXPECT_TRUE(UserAssociationInstalled(t.F));
    }
}
