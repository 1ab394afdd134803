// The parts list on its own: first-match lookups, sequence numbers and shared undo copies.
#include <gtest/gtest.h>

#include "model/u_TBauteil.h"

using namespace kx;

namespace {

TBauteil& Append(TBauteilList& list, const std::string& name) {
    auto r = std::make_unique<TBauteil>();
    r->SetName(name);
    return list.Append(std::move(r));
}

}  // namespace

TEST(PartsList, LookupsKeepTheFirstMatchInListOrder) {
    TBauteilList list;
    TBauteil& first = Append(list, "F31010_1");
    TBauteil& upper = Append(list, "F31010_2");
    TBauteil& lower = Append(list, "f31010_2");
    TBauteil& second = Append(list, "F31010_1");
    EXPECT_EQ(list.Find("F31010_1"), &first);
    EXPECT_EQ(list.Find("f31010_2"), &lower);
    EXPECT_EQ(list.FindText("F31010_2"), &upper);
    EXPECT_EQ(list.Find("f31010_1"), nullptr);

    list.Remove(first);
    EXPECT_EQ(list.Find("F31010_1"), &second);
    // A renamed record is found where it stands in the list, not where it was renamed.
    upper.SetName("Z");
    second.SetName("f31010_2");
    EXPECT_EQ(list.FindText("F31010_2"), &lower);
    lower.SetName("Y");
    EXPECT_EQ(list.FindText("F31010_2"), &second);
    EXPECT_EQ(list.IndexOf(second), 2u);
}

TEST(PartsList, HighestSequenceFollowsAddingRemovingAndRenaming) {
    TBauteilList list;
    EXPECT_EQ(list.HighestSequence("31010"), -1);
    Append(list, "F31010_3");
    TBauteil& nine = Append(list, "F31010_9");
    Append(list, "F32064_12");
    Append(list, "F31010_abc");
    EXPECT_EQ(list.HighestSequence("31010"), 9);
    EXPECT_EQ(list.HighestSequence("32064"), 12);
    list.Remove(nine);
    EXPECT_EQ(list.HighestSequence("31010"), 3);
    list[0].SetName("Rad");
    EXPECT_EQ(list.HighestSequence("31010"), 0);  // "F31010_abc" counts as 0
    list[2].SetName("X");
    EXPECT_EQ(list.HighestSequence("31010"), -1);
}

TEST(PartsList, SnapshotsShareUnchangedRecordsAndRestoreExactCopies) {
    TBauteilList list;
    for (int i = 0; i < 200; ++i) {
        Append(list, "F31010_" + std::to_string(i + 1)).SetColor(static_cast<uint32_t>(i));
    }
    const TPartsSnapshot a = list.Freeze();
    list[130].SetColor(999);
    list.Remove(list[10]);
    const TPartsSnapshot b = list.Freeze();
    ASSERT_EQ(a.Count(), 200u);
    ASSERT_EQ(b.Count(), 199u);
    EXPECT_EQ(&a[5], &b[5]);      // unchanged: the same shared copy
    EXPECT_EQ(&a[131], &b[130]);  // unchanged, only moved up by the removal
    EXPECT_NE(&a[130], &b[129]);  // changed: a copy of its own
    EXPECT_EQ(a[130].Color(), 130u);
    EXPECT_EQ(b[129].Color(), 999u);
    EXPECT_EQ(b[10].Name(), "F31010_12");
    EXPECT_THROW((void)b[199], std::out_of_range);

    list.Restore(a);
    ASSERT_EQ(list.Count(), 200u);
    for (size_t i = 0; i < 200; ++i) {
        EXPECT_TRUE(list[i].SameValues(a[i])) << i;
        EXPECT_EQ(list[i].Object(), nullptr);
    }
    EXPECT_EQ(list.Find("F31010_11"), &list[10]);
    const TPartsSnapshot c = list.Freeze();
    EXPECT_EQ(&c[150], &a[150]);
}
