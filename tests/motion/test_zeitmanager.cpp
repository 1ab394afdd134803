// The time manager's rows: picking and dragging keys, applying with btnBack versus closing,
// "Key entfernen", zoom and scrolling, and parts deleted while it is open.
#include <gtest/gtest.h>

#include "model_fixture.h"
#include "motion/u_keyframes.h"
#include "motion/u_zeitmanager.h"

using namespace kx;

namespace {

constexpr int kRowWidth = 800;

class ZeitManagerTest : public kxtest::ModelTest {
protected:
    void SetUp() override {
        m_a = Add("31010");
        m_b = Add("32064");
        Add("31010");  // no keys: no row
        for (int32_t t : {10, 30, 60}) {
            m_model->FindBauteil(m_a)->AddKey(MakeKey({{float(t), 0, 0}, {0, 1, 0}, {0, 0, 1}}, t));
        }
        m_model->FindBauteil(m_b)->AddKey(MakeKey({}, 5));
        // The model as if just saved: what the time manager changes shows in the flag.
        m_model->MarkSaved();
    }
    std::vector<int32_t> Times(const std::string& name) const {
        std::vector<int32_t> out;
        for (const TKeyData& k : m_model->FindBauteil(name)->Keys()) {
            out.push_back(k.Time);
        }
        return out;
    }
    std::string m_a, m_b;
};

TEST_F(ZeitManagerTest, RowsShowThePartsWithKeys) {
    TZeitManager zm(*m_model, m_files, 17);
    ASSERT_EQ(zm.Rows().size(), 2u);
    const TKeyRow& row = zm.Rows()[0];
    EXPECT_EQ(row.ObjName, m_a);
    EXPECT_EQ(row.Position, 17);
    ASSERT_EQ(row.Nodes.size(), 3u);
    EXPECT_EQ(row.Nodes[2].Frame, 60);
    EXPECT_EQ(row.Nodes[2].Index, 2u);
    EXPECT_EQ(row.SelIndex, -1);
    EXPECT_EQ(row.FrameX(10), 80 + 9 * 10);
}

TEST_F(ZeitManagerTest, DraggedKeyMovesOnlyWhenApplied) {
    {
        // Closed with its close box: the drag is discarded.
        TZeitManager zm(*m_model, m_files, 1);
        TKeyRow& row = zm.Rows()[0];
        ASSERT_TRUE(row.Press(row.FrameX(30) + 3, kRowWidth));
        EXPECT_EQ(row.SelIndex, 1);
        EXPECT_TRUE(row.Nodes[1].Selected);
        EXPECT_EQ(row.Text, "30");
        EXPECT_TRUE(row.Drag(row.FrameX(50) + 4));
        EXPECT_EQ(row.Text, "50");
        EXPECT_FALSE(row.Drag(40));  // left of the axis
    }
    EXPECT_EQ(Times(m_a), (std::vector<int32_t>{10, 30, 60}));
    EXPECT_FALSE(m_model->IsModified());

    TZeitManager zm(*m_model, m_files, 1);
    TKeyRow& row = zm.Rows()[0];
    row.Press(row.FrameX(30), kRowWidth);
    row.Drag(row.FrameX(50));
    zm.Apply();
    EXPECT_EQ(Times(m_a), (std::vector<int32_t>{10, 50, 60}));
    EXPECT_TRUE(m_model->IsModified());
}

TEST_F(ZeitManagerTest, KeyEntfernenActsAtOnce) {
    {
        TZeitManager zm(*m_model, m_files, 1);
        EXPECT_FALSE(zm.RemoveSelectedKey(0));  // nothing selected
        TKeyRow& row = zm.Rows()[0];
        row.Press(row.FrameX(60), kRowWidth);
        row.Drag(row.FrameX(70));
        row.Press(row.FrameX(10), kRowWidth);
        ASSERT_TRUE(zm.RemoveSelectedKey(0));
        EXPECT_EQ(row.Nodes.size(), 2u);
        EXPECT_EQ(row.SelIndex, -1);
        // The move not yet applied stays with its key.
        EXPECT_EQ(row.Nodes[1].Frame, 70);
        EXPECT_EQ(row.Nodes[1].Index, 1u);
    }
    EXPECT_EQ(Times(m_a), (std::vector<int32_t>{30, 60}));
    EXPECT_TRUE(m_model->IsModified());
}

TEST_F(ZeitManagerTest, ZoomScrollAndDeletedParts) {
    TZeitManager zm(*m_model, m_files, 1);
    for (int i = 0; i < 12; ++i) {
        zm.ZoomOut();
    }
    EXPECT_EQ(zm.Rows()[1].Zoom, 1);
    zm.ZoomIn();
    zm.ZoomIn();
    zm.Scroll(24);
    const TKeyRow& row = zm.Rows()[0];
    EXPECT_EQ(row.Zoom, 3);
    EXPECT_EQ(row.Offset, 25);
    EXPECT_EQ(row.FrameX(30), 80 + 5 * 3);
    // Only visible keys can be picked: 10 lies before the offset.
    TKeyRow& first = zm.Rows()[0];
    first.Press(0, kRowWidth);
    EXPECT_EQ(first.SelIndex, 1);

    TKeyRow& second = zm.Rows()[1];
    zm.Scroll(0);
    second.Press(second.FrameX(5), kRowWidth);
    second.Drag(second.FrameX(9));
    m_model->DeleteBaustein(m_b);
    EXPECT_FALSE(zm.RemoveSelectedKey(1));
    zm.Apply();  // the deleted part's row is skipped
    EXPECT_EQ(Times(m_a), (std::vector<int32_t>{10, 30, 60}));
}

}  // namespace
