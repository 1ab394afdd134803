// Part-file lookup (user folder over program folder, any case) and the two run-long caches.
#include <gtest/gtest.h>

#include "catalogue/u_normals.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_test_support.h"

using namespace kx;

namespace {

TMesh Triangle(float size) {
    TMesh m;
    m.Positions = {{0, 0, 0}, {size, 0, 0}, {0, size, 0}};
    m.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    return m;
}

class PartFolders : public ::testing::Test {
protected:
    std::filesystem::path Prog(const std::string& rel) const { return m_dir / "prog" / rel; }
    std::filesystem::path User(const std::string& rel) const { return m_dir / "user" / rel; }
    TPartFiles Files() const { return TPartFiles(m_dir / "prog", m_dir / "user"); }

    kxtest::TTempDir m_dir;
};

}  // namespace

TEST_F(PartFolders, LookupIgnoresCaseAndPrefersTheUserFolder) {
    kxtest::WriteFile(Prog("def/c0007.def"), "shipped");
    kxtest::WriteFile(Prog("def/31010.def"), "shipped");
    kxtest::WriteFile(User("def/31010.DEF"), "user");
    kxtest::WriteFile(Prog("icon/print/31010.JPG"), "jpg");
    const TPartFiles files = Files();

    ASSERT_TRUE(files.FindDef("C0007"));
    EXPECT_EQ(*files.FindDef("C0007"), Prog("def/c0007.def"));
    EXPECT_EQ(*files.FindDef("31010"), User("def/31010.DEF"));
    EXPECT_EQ(*files.FindPart("icon/print", "31010", "jpg"), Prog("icon/print/31010.JPG"));
    EXPECT_FALSE(files.FindDef("99999"));
    EXPECT_FALSE(files.Find("hires", "31010.stl"));  // no such folder at all
    EXPECT_EQ(files.UserPath("def", "31010.def"), User("def/31010.DEF"));
    EXPECT_EQ(files.UserPath("hires", "31010.stl"), User("hires/31010.stl"));
}

TEST_F(PartFolders, DefinitionListIsSortedAndHasEachNumberOnce) {
    kxtest::WriteFile(Prog("def/b0002.def"), "");
    kxtest::WriteFile(Prog("def/A0003.def"), "");
    kxtest::WriteFile(Prog("def/31010.def"), "");
    kxtest::WriteFile(Prog("def/readme.txt"), "");
    kxtest::WriteFile(User("def/B0002.def"), "");
    kxtest::WriteFile(User("def/X0001.def"), "");
    EXPECT_EQ(Files().DefinitionNumbers(),
              (std::vector<std::string>{"31010", "A0003", "B0002", "X0001"}));
}

TEST_F(PartFolders, IndexIsBuiltOnceAndRefreshedOnRequest) {
    kxtest::WriteFile(Prog("def/31010.def"), "");
    TPartFiles files = Files();
    EXPECT_EQ(files.DefinitionNumbers().size(), 1u);
    kxtest::WriteFile(User("def/X0001.def"), "");
    EXPECT_FALSE(files.FindDef("X0001"));
    files.Refresh("DEF");
    EXPECT_TRUE(files.FindDef("x0001"));
    EXPECT_FALSE(files.FindPart("hires", "X0001", "stl"));
    kxtest::WriteFile(User("hires/X0001.stl"), "");
    EXPECT_FALSE(files.FindPart("hires", "X0001", "stl"));
    files.Refresh();
    EXPECT_TRUE(files.FindPart("hires", "X0001", "stl"));
}

TEST_F(PartFolders, DefinitionCacheReadsEachNumberOnce) {
    kxtest::WriteFile(Prog("def/31010.def"), "[COMMON]\r\nName=eins\r\n");
    const TPartFiles files = Files();
    TDefCache cache;
    const TCatalogueSettings normal;
    const TDefPtr a = cache.GetDef(files, "31010", normal);
    kxtest::WriteFile(Prog("def/31010.def"), "[COMMON]\r\nName=zwei\r\n");
    const TDefPtr b = cache.GetDef(files, "31010", normal);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->NameDe, "eins");
    EXPECT_EQ(cache.ReadCount(), 1u);

    // Developer mode reads the file again and replaces the record; the old one stays valid.
    TCatalogueSettings developer;
    developer.DeveloperMode = true;
    const TDefPtr c = cache.GetDef(files, "31010", developer);
    EXPECT_EQ(c->NameDe, "zwei");
    EXPECT_EQ(a->NameDe, "eins");
    EXPECT_EQ(cache.GetDef(files, "31010", normal), c);
    EXPECT_EQ(cache.ReadCount(), 2u);
    EXPECT_EQ(cache.Count(), 1u);
}

TEST_F(PartFolders, DefinitionCacheNeverFails) {
    const TPartFiles files = Files();
    TDefCache cache;
    const TDefPtr d = cache.GetDef(files, "77777", {});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Name, "noname");
    EXPECT_EQ(d->Color(), 0x505050u);
    EXPECT_EQ(d->ConnCount(), 0);
    EXPECT_TRUE(cache.Contains("77777"));
    cache.Invalidate("77777");
    EXPECT_FALSE(cache.Contains("77777"));
}

TEST_F(PartFolders, DefinitionCacheIgnoresCase) {
    kxtest::WriteFile(Prog("def/c0007.def"), "[COMMON]\r\nName=Stecker\r\n");
    const TPartFiles files = Files();
    TDefCache cache;
    EXPECT_EQ(cache.GetDef(files, "C0007", {})->NameDe, "Stecker");
    EXPECT_EQ(cache.GetDef(files, "c0007", {}), cache.GetDef(files, "C0007", {}));
    EXPECT_EQ(cache.ReadCount(), 1u);
}

TEST_F(PartFolders, MeshCacheParsesEachNumberOnceAndSharesIt) {
    ASSERT_TRUE(WriteStlFile(Prog("hires/31010.stl"), Triangle(10)));
    const TPartFiles files = Files();
    TffCache cache;
    const TMeshPtr a = cache.LoadMesh(files, "hires", "31010");
    const TMeshPtr b = cache.LoadMesh(files, "hires", "31010");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->Positions[1], TVector3f(10, 0, 0));
    EXPECT_EQ(cache.ParseCount(), 1u);
}

TEST_F(PartFolders, QualitySwitchKeepsACachedMesh) {
    ASSERT_TRUE(WriteStlFile(Prog("hires/31010.stl"), Triangle(10)));
    ASSERT_TRUE(WriteStlFile(Prog("lores/31010.stl"), Triangle(1)));
    ASSERT_TRUE(WriteStlFile(Prog("lores/31011.stl"), Triangle(2)));
    ASSERT_TRUE(WriteStlFile(Prog("hires/31011.stl"), Triangle(20)));
    const TPartFiles files = Files();
    TffCache cache;
    EXPECT_EQ(cache.LoadMesh(files, "hires", "31010")->Positions[1].X, 10);
    EXPECT_EQ(cache.LoadMesh(files, "lores", "31010")->Positions[1].X, 10);
    EXPECT_EQ(cache.LoadMesh(files, "lores", "31011")->Positions[1].X, 2);
    EXPECT_EQ(cache.ParseCount(), 2u);
}

TEST_F(PartFolders, MeshCacheFailuresCacheNothing) {
    kxtest::WriteFile(Prog("hires/BAD01.stl"), "solid broken\nfacet\n");
    const TPartFiles files = Files();
    TffCache cache;
    EXPECT_THROW(cache.LoadMesh(files, "hires", "NONE1"), TMeshLoadError);
    EXPECT_THROW(cache.LoadMesh(files, "hires", "BAD01"), TMeshLoadError);
    EXPECT_FALSE(cache.Contains("BAD01"));
    EXPECT_EQ(cache.Count(), 0u);
}

TEST_F(PartFolders, MeshCacheInvalidationAndOverlay) {
    ASSERT_TRUE(WriteStlFile(Prog("hires/HZ001.stl"), Triangle(1)));
    TPartFiles files = Files();
    TffCache cache;
    EXPECT_EQ(cache.LoadMesh(files, "hires", "hz001")->Positions[1].X, 1);
    // The program writes a new mesh of its own for that number (a regenerated strip part).
    ASSERT_TRUE(WriteStlFile(User("hires/HZ001.stl"), Triangle(5)));
    files.Refresh("hires");
    EXPECT_EQ(cache.LoadMesh(files, "hires", "HZ001")->Positions[1].X, 1);
    cache.Invalidate("HZ001");
    EXPECT_EQ(cache.LoadMesh(files, "hires", "HZ001")->Positions[1].X, 5);
    EXPECT_EQ(cache.ParseCount(), 2u);
}

TEST_F(PartFolders, PartMeshCarriesTheNormalsOfItsOwnFolder) {
    ASSERT_TRUE(WriteStlFile(Prog("hires/31010.stl"), Triangle(10)));
    ASSERT_TRUE(WriteNormalsFile(Prog("hires/31010.nrm"), {{1, 1, 0}}));
    ASSERT_TRUE(WriteNormalsFile(Prog("lores/31010.nrm"), {{9, 9, 9}}));
    ASSERT_TRUE(WriteStlFile(Prog("hires/31011.stl"), Triangle(10)));
    const TPartFiles files = Files();
    TffCache cache;
    const TMeshPtr plain = cache.LoadMesh(files, "hires", "31010");
    const TMeshPtr smooth = cache.LoadPartMesh(files, "lores", "31010");
    EXPECT_EQ(smooth->Normals[0], TVector3f(1, 1, 0));
    EXPECT_EQ(smooth->Normals[1], TVector3f(0, 0, 1));
    EXPECT_EQ(plain->Normals[0], TVector3f(0, 0, 1));  // the shared mesh is not touched
    EXPECT_EQ(cache.LoadPartMesh(files, "hires", "31010"), smooth);
    EXPECT_EQ(cache.ParseCount(), 1u);

    // Without a normals file the part mesh is the shared mesh itself.
    EXPECT_EQ(cache.LoadPartMesh(files, "hires", "31011"), cache.LoadMesh(files, "hires", "31011"));
}

TEST(CatalogueSettings, ComeFromTheSettingsStoreAndTheLanguageTable) {
    kxtest::TTempDir dir;
    auto previous = SetParam(std::make_unique<TkxParam>(std::vector<std::string>{"supermodus"},
                                                        dir / "config", dir / "system"));
    Param().SetLanguage("ENGLISH");
    Param().SetCombineLibrary(true);
    const TCatalogueSettings s = CurrentCatalogueSettings();
    EXPECT_EQ(s.Language, "ENGLISH");
    EXPECT_FALSE(s.IsGerman());
    EXPECT_TRUE(s.CombineLibrary);
    EXPECT_TRUE(s.DeveloperMode);
    SetParam(std::move(previous));

    auto oldLanguage = SetLanguage(std::make_unique<TkxLanguage>(
        TIniFileEx(std::vector<std::string>{"[GROUPS]", "00002=Wheels", "00003="})));
    EXPECT_EQ(GroupName(2), "Wheels");
    EXPECT_EQ(GroupName(3), "?");
    EXPECT_EQ(GroupName(40), "?");
    SetLanguage(std::move(oldLanguage));
}
