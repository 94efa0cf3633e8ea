// The stored text of an ordered tree: reading, writing and the edits of its nodes.
#include "model/PageTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "KytFixture.h"
#include "model/HeaderRecord.h"
#include "model/StyleTable.h"
#include "model/TKYTListView.h"
#include "model/TKYTorderedTree.h"

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

// The trees of a real hypertext: the store object, the default tree, edits and reloading.
class OrderedTree : public test::KytTest {
protected:
    // Pages 0..2 titled "Copertina", "Seconda", "Terza"; page 1 deleted; the document saved as
    // Libro.kyt and read back, so it has a file name.
    void MakeLibro() {
        AddPage("Copertina", std::string("<Z S0 >a\0", 9));
        AddPage("Seconda", std::string("<Z S0 >b\0", 9));
        AddPage("Terza", std::string("<Z S0 >c\0", 9));
        set_.ObjectByKind(TOggettiHel::testoHtml, 1)->Clear();
        ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    }
    std::int32_t StoreCode() const { return set_.HeaderView().I32(kHdrPageTree); }
    std::string StoreText() const {
        const TKYToggetto* store = set_.ObjectByCode(StoreCode());
        if (!store) return "<no store>";
        return *store->ContentBytes();
    }
    void SetStoreText(std::string text) {
        TKYTorderedTree tree(&set_);
        tree.LoadTree();
        set_.ObjectByCode(StoreCode())->SetContent(std::move(text));
    }
    static std::vector<std::string> Titles(const std::vector<TKYToggetto*>& objects) {
        std::vector<std::string> titles;
        for (const TKYToggetto* object : objects) titles.push_back(object->Name());
        return titles;
    }
};

TEST_F(OrderedTree, BuildsStoresAndRegistersTheDefaultTreeOfANewStore) {
    MakeLibro();
    EXPECT_EQ(StoreCode(), 0);
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    // the store is a shortObj in use whose code the header keeps at 1342
    const std::int32_t code = StoreCode();
    EXPECT_EQ(CodeKind(code), 11);
    const TKYToggetto* store = set_.ObjectByCode(code);
    ASSERT_NE(store, nullptr);
    EXPECT_FALSE(store->IsFree());
    EXPECT_EQ(StoreText(), "a0,-2,Libro.kyt\r\na1,0,x\r\na1,2,x\r\n");
    EXPECT_THAT(messages_.Shown(), IsEmpty());

    // saved with the document and read back the same
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    EXPECT_EQ(StoreCode(), code);
    EXPECT_EQ(StoreText(), "a0,-2,Libro.kyt\r\na1,0,x\r\na1,2,x\r\n");
    TKYTorderedTree again(&set_);
    again.LoadTree();
    EXPECT_EQ(again.Text(), StoreText());
}

TEST_F(OrderedTree, StoresTheAuthorsEditsAndReadsThemBackAfterASave) {
    MakeLibro();
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    tree.Select(tree.Nodes().TopLevel()[0].get());
    std::vector<std::string> editing;
    tree.OnStartEdit = [&](TreeNode& node) { editing.push_back(node.Text()); };
    ASSERT_TRUE(tree.AddChapter("Capitolo primo"));
    EXPECT_EQ(tree.SelectedChapterTitle(), "Capitolo primo");
    EXPECT_THAT(editing, ElementsAre("Capitolo primo"));
    TreeNode* chapter = tree.Selected();
    // page 2 is dragged into the chapter, which then moves to the top
    TreeNode* page2 = tree.Nodes().FindObject(2);
    ASSERT_TRUE(tree.Drop(*page2, *chapter));
    tree.Select(chapter);
    EXPECT_TRUE(tree.MoveUp());
    EXPECT_TRUE(tree.AddChapter("Sezione"));
    EXPECT_TRUE(tree.AddObject(0));  // under the new section: the cover appears twice
    tree.SaveTree();
    const std::string expected =
        "a0,-2,Libro.kyt\r\n"
        "a1,-3,Capitolo primo\r\n"
        "a2,2,x\r\n"
        "a2,-3,Sezione\r\n"
        "a3,0,x\r\n"
        "a1,0,x\r\n";
    EXPECT_EQ(StoreText(), expected);

    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    TKYTorderedTree reloaded(&set_);
    reloaded.LoadTree();
    EXPECT_EQ(reloaded.Text(), expected);
    std::vector<TKYToggetto*> order;
    reloaded.CollectObjects(order);
    EXPECT_THAT(Titles(order), ElementsAre("Terza", "Copertina", "Copertina"));

    // deleting the chapter takes its subtree; the root stays whatever is selected
    ASSERT_TRUE(reloaded.SelectObject(2));
    reloaded.Select(reloaded.Selected()->Parent());
    EXPECT_TRUE(reloaded.DeleteSelected());
    reloaded.Select(reloaded.Nodes().TopLevel()[0].get());
    EXPECT_FALSE(reloaded.DeleteSelected());
    reloaded.SaveTree();
    EXPECT_EQ(StoreText(), "a0,-2,Libro.kyt\r\na1,0,x\r\n");
}

TEST_F(OrderedTree, RefusesEditsWhereTheyDoNotBelong) {
    MakeLibro();
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    EXPECT_FALSE(tree.AddChapter("senza selezione"));
    TreeNode* root = tree.Nodes().TopLevel()[0].get();
    TreeNode* cover = tree.Nodes().FindObject(0);
    TreeNode* third = tree.Nodes().FindObject(2);
    tree.Select(cover);
    EXPECT_FALSE(tree.AddChapter("sotto una pagina"));
    EXPECT_FALSE(tree.AddObject(2));
    tree.Select(root);
    EXPECT_FALSE(tree.AddObject(1));             // page 1 is free
    EXPECT_FALSE(tree.AddObject(0x0C000000));    // not a page
    EXPECT_FALSE(tree.CanDrop(*cover, *third));  // an object node holds no children
    EXPECT_FALSE(tree.CanDrop(*root, *root));
    tree.Editable = false;
    tree.AddChapter("c");
    EXPECT_FALSE(tree.CanDrop(*cover, *tree.Selected()));
    EXPECT_EQ(tree.SelectedObject(), nullptr);
    tree.Select(cover);
    EXPECT_EQ(tree.SelectedObject(), set_.ObjectByKind(TOggettiHel::testoHtml, 0));
}

TEST_F(OrderedTree, ShowsCurrentTitlesAndDropsDeletedPagesOnReading) {
    MakeLibro();
    SetStoreText("a0,-2,Libro.kyt\r\na1,-3,Capitolo\r\na2,2,Vecchio titolo\r\na2,0,x\r\n");
    set_.ObjectByKind(TOggettiHel::testoHtml, 2)->SetName("Titolo nuovo");
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    EXPECT_EQ(tree.Nodes().FindObject(2)->Text(), "Titolo nuovo");

    // the cover deleted while the tree is shown: collecting passes over it; reading drops it
    set_.ObjectByKind(TOggettiHel::testoHtml, 0)->Clear();
    std::vector<std::int32_t> codes;
    tree.CollectCodes(codes);
    EXPECT_THAT(codes, ElementsAre(2));
    TKYTorderedTree reloaded(&set_);
    reloaded.LoadTree();
    EXPECT_EQ(reloaded.Text(), "a0,-2,Libro.kyt\r\na1,-3,Capitolo\r\na2,2,x\r\n");
}

TEST_F(OrderedTree, ShowsAnErrorBoxForEachLineItCannotRead) {
    MakeLibro();
    SetStoreText("a0,-2,Libro.kyt\r\nzz\r\na1,0,x\r\na3,2,x\r\n");
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "error decoding nodes"},
                                               Message{Box::Error, "error loading nodes"}));
    EXPECT_EQ(tree.Text(), "a0,-2,Libro.kyt\r\na1,0,x\r\n");
}

TEST_F(OrderedTree, NeverWritesTreeTextIntoAnObjectThatIsNoStore) {
    AddPage("Copertina", std::string("<Z S0 >a\0", 9));
    TKYToggetto& second = AddPage("Seconda", std::string("<Z S0 >b\0", 9));
    set_.HeaderRecordView().SetI32(kHdrPageTree, second.Code());  // a damaged header
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    EXPECT_EQ(*second.ContentBytes(), std::string("<Z S0 >b\0", 9));
    EXPECT_EQ(CodeKind(StoreCode()), 11);
    // a new document has no file name: the root's text is empty
    EXPECT_EQ(StoreText(), "a0,-2,\r\na1,0,x\r\na1,1,x\r\n");
}

TEST_F(OrderedTree, KeepsThePrototypeTreeInItsOwnStoreAndAsksBeforeDeleting) {
    AddPage("Copertina", std::string("<Z S0 >a\0", 9));
    Add(TOggettiHel::custom, "Pulsante");
    Add(TOggettiHel::custom, "Modulo");
    TKYTorderedTree tree(&set_, TOggettiHel::custom);
    tree.LoadTree();
    EXPECT_EQ(set_.HeaderView().I32(kHdrPageTree), 0);
    const TKYToggetto* store = set_.ObjectByCode(set_.HeaderView().I32(kHdrPrototypeTree));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(*store->ContentBytes(), "a0,-2,\r\na1,201326592,x\r\na1,201326593,x\r\n");

    ASSERT_TRUE(tree.SelectObject(0x0C000001));
    EXPECT_FALSE(tree.DeleteSelected());  // no handler: nothing is deleted
    std::vector<std::int32_t> asked;
    tree.OnDel = [&](const TreeNode& node) {
        asked.push_back(node.Code());
        return asked.size() > 1;
    };
    EXPECT_FALSE(tree.DeleteSelected());
    EXPECT_TRUE(tree.DeleteSelected());
    EXPECT_THAT(asked, ElementsAre(0x0C000001, 0x0C000001));
    EXPECT_EQ(tree.Text(), "a0,-2,\r\na1,201326592,x\r\n");
}

TEST_F(OrderedTree, RenamesChaptersInPlaceAndObjectsThroughTheirHandler) {
    AddPage("Copertina", std::string("<Z S0 >a\0", 9));
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    tree.Select(tree.Nodes().TopLevel()[0].get());
    tree.AddChapter("Capitolo");
    tree.Rename(*tree.Selected(), "Capitolo\r\nprimo");
    EXPECT_EQ(tree.SelectedChapterTitle(), "Capitolo  primo");
    tree.OnRenameItem = [&](TreeNode& node) {
        set_.ObjectByCode(node.Code())->SetName(node.Text() + " (rinominata)");
    };
    TreeNode* cover = tree.Nodes().FindObject(0);
    tree.Rename(*cover, "Inizio");
    EXPECT_EQ(cover->Text(), "Inizio (rinominata)");
    EXPECT_EQ(set_.ObjectByKind(TOggettiHel::testoHtml, 0)->Name(), "Inizio (rinominata)");
}

TEST_F(OrderedTree, ChoosesTheIconOfEveryNodeAndObject) {
    MakeLibro();
    TKYTorderedTree tree(&set_);
    tree.LoadTree();
    tree.Select(tree.Nodes().TopLevel()[0].get());
    tree.AddChapter("Capitolo");
    auto extension = [](std::string e) { return ViewIcon{std::move(e), -1, false}; };
    const ViewIcon other{"", 3, false};
    EXPECT_EQ(IconOf(*tree.Nodes().TopLevel()[0], &set_), extension(".kyt"));
    EXPECT_EQ(IconOf(*tree.Selected(), &set_), extension(".hlp"));
    EXPECT_EQ(IconOf(*tree.Nodes().FindObject(2), &set_), extension(".txt"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::custom, "Prototipo")), extension(".ini"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::dbloc, "db")), extension(".dsn"));
    TKYToggetto& picture = Add(TOggettiHel::immagine, "logo");
    picture.SetFileName("Logo.GIF");
    EXPECT_EQ(IconOf(picture), extension(".gif"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::keyword, "mare")), (ViewIcon{"", -1, true}));
    EXPECT_EQ(IconOf(Add(TOggettiHel::internetLink, "http://www.esempio.it/")), extension(".htm"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::internetLink, "mailto:a@b.it")), extension(".msg"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::internetLink, "ftp://esempio.it/")), other);
    EXPECT_EQ(IconOf(Add(TOggettiHel::internetLink, "orvo://Altro.kyt|2")), other);
    EXPECT_EQ(IconOf(Add(TOggettiHel::internetLink, "pagine/indice.HTML")), extension(".htm"));
    EXPECT_EQ(IconOf(Add(TOggettiHel::speclink)), other);
}

class ObjectList : public test::KytTest {};

TEST_F(ObjectList, ListsLiveObjectsSortedByCaptionWithTheirColumns) {
    AddPage("zeta", std::string("<Z S0 >abc\0", 11));
    AddPage("Alfa", std::string("<Z S0 >\0", 8));
    AddPage("beta", std::string("<Z S0 >\0", 8));
    set_.ObjectByKind(TOggettiHel::testoHtml, 2)->Clear();
    TKYTListView list(&set_);
    int reloads = 0;
    list.OnReload = [&] { ++reloads; };
    list.Reload();
    EXPECT_THAT(list.Items(),
                ElementsAre(ListItem{"Alfa", "8", "", "1", 1}, ListItem{"zeta", "11", "", "0", 0}));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(list.IndexOf(0), 1);
    EXPECT_EQ(list.IndexOf(2), -1);
}

TEST_F(ObjectList, LeavesOutLinksToOtherHypertextsUnlessTheFilterSaysOtherwise) {
    TKYTListView list(&set_, TOggettiHel::internetLink);
    Add(TOggettiHel::internetLink, "http://www.esempio.it/");
    Add(TOggettiHel::internetLink, "ORVO://Altro.kyt|2");
    Add(TOggettiHel::internetLink, "mailto:autore@esempio.it");
    list.Reload();
    ASSERT_EQ(list.Items().size(), 2u);
    EXPECT_EQ(list.Items()[0].caption, "http://www.esempio.it/");
    EXPECT_EQ(list.Items()[1].caption, "mailto:autore@esempio.it");
    // the filter lists every link but the mail address
    list.OnFilter = [](const TKYToggetto& object, bool) {
        return !object.Name().starts_with("mailto:");
    };
    list.Reload();
    ASSERT_EQ(list.Items().size(), 2u);
    EXPECT_EQ(list.Items()[0].caption, "http://www.esempio.it/");
    EXPECT_EQ(list.Items()[1].caption, "ORVO://Altro.kyt|2");
}

TEST_F(ObjectList, ListsALocalDatabaseOnlyWhenItsByte46Is11) {
    TKYToggetto& shown = Add(TOggettiHel::dbloc, "clienti");
    TKYToggetto& hidden = Add(TOggettiHel::dbloc, "ordini");
    shown.Record()[46] = 11;
    hidden.Record()[46] = 10;
    TKYTListView list(&set_, TOggettiHel::dbloc);
    list.Reload();
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.Items()[0].caption, "clienti");
}

TEST_F(ObjectList, RenamesAStyleOnlyToANameNoOtherStyleHasOnceCut) {
    const std::string longName(40, 'x');
    CreateStyle(set_, "Titolo");
    CreateStyle(set_, std::string(32, 'x'));
    TKYTListView list(&set_, TOggettiHel::stileParagrafo);
    list.Reload();
    const int titolo = list.IndexOf(MakeCode(TOggettiHel::stileParagrafo, 2));
    std::vector<std::string> events;
    list.OnEditStart = [&](std::int32_t) { events.push_back("start"); };
    list.OnEditStop = [&](std::int32_t) { events.push_back("stop"); };
    EXPECT_EQ(list.Rename(titolo, "[NESSUNO STILE]"), "Titolo");
    EXPECT_EQ(list.Rename(titolo, longName), "Titolo");  // equal to the other once cut to 32
    EXPECT_EQ(list.Rename(titolo, "Intestazione"), "Intestazione");
    EXPECT_EQ(set_.ObjectByKind(TOggettiHel::stileParagrafo, 2)->Name(), "Intestazione");
    EXPECT_THAT(events, ElementsAre("start", "stop", "start", "stop", "start", "stop"));
    // any other object simply takes the name
    AddPage("Copertina", std::string("<Z S0 >\0", 8));
    TKYTListView pages(&set_);
    pages.Reload();
    EXPECT_EQ(pages.Rename(0, "Benvenuti"), "Benvenuti");
}

}  // namespace
}  // namespace orvo
