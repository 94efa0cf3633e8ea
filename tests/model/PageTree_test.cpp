// The stored text of an ordered tree: reading, writing and the edits of its nodes.
#include "model/PageTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The live objects of a small hypertext: code -> current name.
class TreeTextReader : public ::testing::Test {
protected:
    TreeTextReading Read(std::string_view text, int treeKind = 0) {
        return ReadTreeText(text, treeKind,
                            [this](std::int32_t code) -> std::optional<std::string> {
                                const auto it = live_.find(code);
                                if (it == live_.end()) return std::nullopt;
                                return it->second;
                            });
    }
    // A node's caption and kind in a short form: "C:Title", "R:Libro.kyt", "O5:name", "N:x".
    static std::vector<std::string> Shape(const PageTree& tree) {
        std::vector<std::string> shape;
        tree.ForEach([&](TreeNode& node) {
            std::string s(std::size_t(node.Level()), ' ');
            switch (node.Kind()) {
                case TreeNodeKind::Root:
                    s += "R:";
                    break;
                case TreeNodeKind::Chapter:
                    s += "C:";
                    break;
                case TreeNodeKind::Object:
                    s += "O" + std::to_string(node.Code()) + ":";
                    break;
                case TreeNodeKind::None:
                    s += "N:";
                    break;
            }
            shape.push_back(s + node.Text());
        });
        return shape;
    }
    std::map<std::int32_t, std::string> live_{
        {0, "Copertina"}, {2, "Capitolo primo"}, {5, "Note"}, {0x0C000001, "Prototipo"}};
};

TEST_F(TreeTextReader, BuildsNodesFromLevelsAndWritesTheSameTextBack) {
    // a0 root, two chapters, levels going down and back up two at a time
    const std::string text =
        "a0,-2,Libro.kyt\r\n"
        "a1,0,x\r\n"
        "a1,-3,Parte prima\r\n"
        "a2,2,x\r\n"
        "a2,-3,Sezione\r\n"
        "a3,5,x\r\n"
        "a1,-3,Parte seconda\r\n"
        "a0,-1,Altro\r\n";
    const TreeTextReading reading = Read(text);
    EXPECT_THAT(reading.errors, IsEmpty());
    EXPECT_THAT(Shape(reading.tree),
                ElementsAre("R:Libro.kyt", " O0:Copertina", " C:Parte prima", "  O2:Capitolo primo",
                            "  C:Sezione", "   O5:Note", " C:Parte seconda", "N:Altro"));
    EXPECT_EQ(WriteTreeText(reading.tree), text);
}

TEST_F(TreeTextReader, TakesTheObjectsCurrentNamesNotTheStoredText) {
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\r\na1,2,Titolo vecchio\r\n");
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Libro.kyt", " O2:Capitolo primo"));
    EXPECT_EQ(WriteTreeText(reading.tree), "a0,-2,Libro.kyt\r\na1,2,x\r\n");
}

TEST_F(TreeTextReader, RefusesALevelThatSkipsAGenerationAndSkipsTheLineWhole) {
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\r\na1,0,x\r\na3,5,x\r\na2,2,x\r\n");
    EXPECT_THAT(reading.errors, ElementsAre("error loading nodes"));
    // the refused line left no node; the next line is read against the level-1 node before it
    EXPECT_THAT(Shape(reading.tree),
                ElementsAre("R:Libro.kyt", " O0:Copertina", "  O2:Capitolo primo"));
}

TEST_F(TreeTextReader, ReportsEveryLineThatDoesNotBeginWithA) {
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\r\nb1,0,x\r\n\r\na1,2,x\r\nA1,5,x\r\n");
    EXPECT_THAT(reading.errors, ElementsAre("error decoding nodes", "error decoding nodes",
                                            "error decoding nodes"));
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Libro.kyt", " O2:Capitolo primo"));
}

TEST_F(TreeTextReader, AcceptsTheLineEndsOfAStringListAndNoFinalLineEnd) {
    // LF alone, CR alone and a last line without an end; the final CR LF makes no empty line
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\na1,0,x\ra1,2,x\r\na1,5,x");
    EXPECT_THAT(reading.errors, IsEmpty());
    EXPECT_EQ(reading.tree.NodeCount(), 4u);
    EXPECT_THAT(Read("a0,-2,Libro.kyt\r\n").errors, IsEmpty());
    EXPECT_TRUE(Read("").tree.Empty());
}

TEST_F(TreeTextReader, CountsANonNumberAsOneInBothFields) {
    // level "x" reads 1: a child of the root; number "y" reads 1: a page code of identifier 1,
    // which does not exist here, so that line gives no node
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\r\nax,-3,Capitolo\r\na2,y,x\r\n");
    EXPECT_THAT(reading.errors, IsEmpty());
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Libro.kyt", " C:Capitolo"));
    live_[1] = "Pagina uno";
    EXPECT_THAT(Shape(Read("a0,-2,Libro.kyt\r\nax,-3,Capitolo\r\na2,y,x\r\n").tree),
                ElementsAre("R:Libro.kyt", " C:Capitolo", "  O1:Pagina uno"));
    // an overflowing number is no number either
    EXPECT_THAT(Shape(Read("a0,-2,L\r\na99999999999,0,x\r\n").tree),
                ElementsAre("R:L", " O0:Copertina"));
}

TEST_F(TreeTextReader, MakesTheFirstLineTopLevelWhateverItsLevel) {
    const TreeTextReading reading = Read("a3,-2,Libro.kyt\r\na1,0,x\r\na0,-3,Altro\r\n");
    EXPECT_THAT(reading.errors, IsEmpty());
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Libro.kyt", " O0:Copertina", "C:Altro"));
}

TEST_F(TreeTextReader, RefusesANegativeLevel) {
    const TreeTextReading reading = Read("a0,-2,Libro.kyt\r\na1,0,x\r\na-1,2,x\r\n");
    EXPECT_THAT(reading.errors, ElementsAre("error loading nodes"));
    EXPECT_EQ(reading.tree.NodeCount(), 2u);
}

TEST_F(TreeTextReader, BindsOnlyCodesOfTheTreesKind) {
    // a prototype tree (kind 12): a page code (kind 0) binds nothing and keeps its text
    const TreeTextReading reading = Read("a0,-2,Lib.cus\r\na1,0,x\r\na1,201326593,x\r\n", 12);
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Lib.cus", " N:x", " O201326593:Prototipo"));
    EXPECT_EQ(WriteTreeText(reading.tree), "a0,-2,Lib.cus\r\na1,-1,x\r\na1,201326593,x\r\n");
}

TEST_F(TreeTextReader, DropsDeletedObjectsAndLiftsWhatHungBelowThem) {
    // page 7 does not exist (deleted): its node goes, its child takes its place
    const TreeTextReading reading =
        Read("a0,-2,Libro.kyt\r\na1,7,x\r\na2,5,x\r\na1,-3,Capitolo\r\na2,7,x\r\n");
    EXPECT_THAT(reading.errors, IsEmpty());
    EXPECT_THAT(Shape(reading.tree), ElementsAre("R:Libro.kyt", " O5:Note", " C:Capitolo"));
}

TEST_F(TreeTextReader, StopsAtANulAndRefusesLinesBeyondTheDepthLimit) {
    EXPECT_EQ(Read(std::string("a0,-2,L\r\na1,0,x\r\n\0a1,2,x\r\n", 26)).tree.NodeCount(), 2u);
    std::string deep;
    for (std::size_t level = 0; level <= kMaxTreeDepth; ++level)
        deep += "a" + std::to_string(level) + ",-3,c\r\n";
    const TreeTextReading reading = Read(deep);
    EXPECT_THAT(reading.errors, ElementsAre("error loading nodes"));
    EXPECT_EQ(reading.tree.NodeCount(), kMaxTreeDepth);
}

TEST_F(TreeTextReader, ReadsTheFieldsOfShortLines) {
    // no second comma: an empty text; no comma at all: the number counts 1, here a page
    const TreeTextReading reading = Read("a0,-3\r\na1,-1\r\na1\r\n");
    EXPECT_THAT(Shape(reading.tree), ElementsAre("C:", " N:"));
    live_[1] = "Pagina uno";
    EXPECT_THAT(Shape(Read("a0,-3\r\na1\r\n").tree), ElementsAre("C:", " O1:Pagina uno"));
}

class TreeEdits : public ::testing::Test {
protected:
    TreeEdits() {
        root_ = tree_.Append(nullptr, TreeNodeKind::Root, "Libro.kyt");
        chapter_ = tree_.Append(root_, TreeNodeKind::Chapter, "Capitolo");
        page0_ = tree_.Append(root_, TreeNodeKind::Object, "p0", 0);
        page1_ = tree_.Append(chapter_, TreeNodeKind::Object, "p1", 1);
    }
    PageTree tree_;
    TreeNode *root_, *chapter_, *page0_, *page1_;
};

TEST_F(TreeEdits, MovesAmongSiblingsOnly) {
    EXPECT_FALSE(tree_.MoveUp(chapter_));
    EXPECT_TRUE(tree_.MoveDown(chapter_));
    EXPECT_FALSE(tree_.MoveDown(chapter_));
    EXPECT_FALSE(tree_.MoveUp(page1_));  // alone in its chapter
    EXPECT_EQ(WriteTreeText(tree_), "a0,-2,Libro.kyt\r\na1,0,x\r\na1,-3,Capitolo\r\na2,1,x\r\n");
}

TEST_F(TreeEdits, MovesUnderANodeOutsideItsOwnSubtree) {
    EXPECT_FALSE(tree_.MoveUnder(root_, page1_));
    EXPECT_FALSE(tree_.MoveUnder(chapter_, chapter_));
    EXPECT_TRUE(tree_.MoveUnder(page0_, chapter_));
    EXPECT_EQ(WriteTreeText(tree_), "a0,-2,Libro.kyt\r\na1,-3,Capitolo\r\na2,1,x\r\na2,0,x\r\n");
    EXPECT_EQ(page0_->Parent(), chapter_);
    EXPECT_EQ(page0_->Index(), 1u);
}

TEST_F(TreeEdits, RemovesASubtreeAndKeepsCaptionsOnOneLine) {
    tree_.Remove(chapter_);
    root_->SetText("Libro\r\nsecondo");
    EXPECT_EQ(WriteTreeText(tree_), "a0,-2,Libro  secondo\r\na1,0,x\r\n");
    EXPECT_EQ(tree_.FindObject(1), nullptr);
    EXPECT_EQ(tree_.FindObject(0), page0_);
}

}  // namespace
}  // namespace orvo
