// Recovery copies: written while the model has unsaved changes, gone once it is saved or
// closed, one file per running program, and restored after a program ended without closing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "model/u_recovery.h"
#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;
namespace fs = std::filesystem;

namespace {

/// The id of a process that has ended: a child that exits at once and is reaped.
int EndedPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<int>(child);
}

}  // namespace

class RecoveryTest : public ModelTest {
protected:
    fs::path Folder() const { return m_dir.Path() / "data" / "recovery"; }
};

TEST_F(RecoveryTest, CopyExistsExactlyWhileTheModelHasUnsavedChanges) {
    TAutosave autosave(*m_model, TRecoveryStore(Folder(), 4242));
    const fs::path copy = autosave.Store().OwnFile();
    EXPECT_EQ(copy.filename(), "recovery-4242.kxm");

    ASSERT_TRUE(autosave.Tick());  // an unchanged model: no copy, not even the folder
    EXPECT_FALSE(fs::exists(copy));
    Add("31010");
    ASSERT_TRUE(autosave.Tick());
    ASSERT_TRUE(fs::exists(copy));
    EXPECT_NE(kxtest::ReadFile(copy).find("31010"), std::string::npos);

    ASSERT_TRUE(m_model->SaveModell((m_dir.Path() / "m.kxm").string()));
    ASSERT_TRUE(autosave.Tick());  // saved: the copy goes
    EXPECT_FALSE(fs::exists(copy));

    Add("32064");
    ASSERT_TRUE(autosave.Tick());
    EXPECT_TRUE(fs::exists(copy));
    autosave.Discard();  // a normal close
    EXPECT_FALSE(fs::exists(copy));

    // A folder that cannot be made is a failed tick, not a lost model.
    kxtest::WriteFile(m_dir.Path() / "blocked", "x");
    TAutosave blocked(*m_model, TRecoveryStore(m_dir.Path() / "blocked" / "recovery", 1));
    std::string error;
    EXPECT_FALSE(blocked.Tick(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(m_model->IsModified());
}

TEST_F(RecoveryTest, TheWriterKeepsTheNewestRequestInOrder) {
    TRecoveryStore store(Folder(), 4243);
    std::vector<std::string> failures;
    {
        TRecoveryWriter writer(store, [&](const std::string& e) { failures.push_back(e); });
        Add("31010");
        writer.Write(m_model->ToModelFile());
        Add("32064");
        writer.Write(m_model->ToModelFile());
        writer.Wait();
        const std::string copy = kxtest::ReadFile(store.OwnFile());
        EXPECT_NE(copy.find("32064"), std::string::npos);  // the newest snapshot is on disk
        // A discard asked for after a write is never undone by that write.
        writer.Write(m_model->ToModelFile());
        writer.Discard();
        writer.Wait();
        EXPECT_FALSE(fs::exists(store.OwnFile()));
        // The end of the program finishes the copy that waits.
        writer.Write(m_model->ToModelFile());
    }
    EXPECT_TRUE(fs::exists(store.OwnFile()));
    EXPECT_TRUE(failures.empty());

    kxtest::WriteFile(m_dir.Path() / "blocked", "x");
    TRecoveryWriter blocked(TRecoveryStore(m_dir.Path() / "blocked" / "recovery", 1),
                            [&](const std::string& e) { failures.push_back(e); });
    blocked.Write(m_model->ToModelFile());
    blocked.Wait();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_FALSE(failures[0].empty());
}

TEST_F(RecoveryTest, OnlyCopiesOfEndedProgramsAreOfferedNewestFirst) {
    const int self = static_cast<int>(::getpid());
    const int parent = static_cast<int>(::getppid());
    const int ended1 = EndedPid();
    const int ended2 = EndedPid();
    TRecoveryStore own(Folder(), self);
    ASSERT_TRUE(own.Write({"[MAIN]"}));
    ASSERT_TRUE(TRecoveryStore(Folder(), parent).Write({"[MAIN]"}));  // a running second window
    ASSERT_TRUE(TRecoveryStore(Folder(), ended1).Write({"[MAIN]"}));
    ASSERT_TRUE(TRecoveryStore(Folder(), ended2).Write({"[MAIN]"}));
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(TRecoveryStore(Folder(), ended1).OwnFile(), now - std::chrono::hours(1));
    for (const char* other : {"recovery-.kxm", "recovery-12x.kxm", "notes.txt", "recovery-7.txt"}) {
        kxtest::WriteFile(Folder() / other, "x");
    }

    const std::vector<TRecoveryCopy> copies = own.Abandoned();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].Pid, ended2);
    EXPECT_EQ(copies[1].Pid, ended1);
    EXPECT_NE(own.OwnFile(), TRecoveryStore(Folder(), parent).OwnFile());

    TRecoveryStore::Remove(copies[1]);
    EXPECT_EQ(own.Abandoned().size(), 1u);
    EXPECT_TRUE(TRecoveryStore(m_dir.Path() / "none", self).Abandoned().empty());
}

TEST_F(RecoveryTest, RestoreBringsBackTheChangedModelWithoutItsFileName) {
    Add("31010");
    Add("32064");
    const std::vector<std::string> before = PartNames();
    m_model->FileName = (m_dir.Path() / "original.kxm").string();
    const int ended = EndedPid();
    {
        TAutosave crashed(*m_model, TRecoveryStore(Folder(), ended));
        ASSERT_TRUE(crashed.Tick());
    }
    m_model->DeleteAll();
    m_model->FileName.clear();

    TAutosave next(*m_model, TRecoveryStore(Folder(), static_cast<int>(::getpid())));
    const auto copies = next.Store().Abandoned();
    ASSERT_EQ(copies.size(), 1u);
    ASSERT_TRUE(next.Restore(copies[0]));
    EXPECT_EQ(PartNames(), before);
    EXPECT_TRUE(m_model->IsModified());
    EXPECT_TRUE(m_model->FileName.empty());
    EXPECT_TRUE(Param().GetLastFile(1).empty());  // the recovery file is no recent file

    // A broken copy leaves the model as it is.
    kxtest::WriteFile(copies[0].File, "[COMMON]\r\nCount=zwei\r\n");
    EXPECT_FALSE(next.Restore(copies[0]));
    EXPECT_EQ(PartNames(), before);
}
