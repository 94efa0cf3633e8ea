// Localisation blocks applied to real Qt widgets, offscreen.
#include "ui/app/QtLocalizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/u3LOCforms.h"
#include "base/Cp1252.h"
#include "ui/NameFilters.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;

QApplication& App() {
    static int argc = 1;
    static char name[] = "orvo_ui_tests";
    static char* argv[] = {name, nullptr};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    return app;
}

template <class T>
T* Named(const char* name, T* object) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// A small "Opzioni del programma": tabs, labels, check boxes, a radio group, a combo box.
class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        dialog_ = std::make_unique<QDialog>();
        dialog_->setObjectName("FopzProg");
        tabs_ = Named("PageControl1", new QTabWidget(dialog_.get()));
        editor_ = Named("TSEditor", new QWidget);
        tabs_->addTab(editor_, "x");
        tabs_->addTab(Named("TSEstensioni", new QWidget), "y");
        undo_ = Named("LUndoDeep", new QLabel("?", editor_));
        promem_ = Named("CBPromemSave", new QCheckBox("?", editor_));
        cursors_ = Named("RGCursors", new QGroupBox("?", editor_));
        for (int i = 0; i < 4; ++i) new QRadioButton(cursors_);
        comp_ = Named("CBComp", new QComboBox(editor_));
        comp_->addItems({"a", "b", "c", "d"});
        comp_->setCurrentIndex(2);
        cancExt_ = Named("BCancExt", new QPushButton("X", editor_));
        ok_ = Named("BOk", new QPushButton("OK", dialog_.get()));
        dialogFile_ = Named("OpenDialog1", new QFileDialog(dialog_.get()));
        pages_ = Named("LVPages", new QTreeWidget(dialog_.get()));
        pages_->setColumnCount(2);
        action_ = Named("N1", new QAction("File", dialog_.get()));
        name_ = Named("EName", new QLineEdit("  nome  ", dialog_.get()));
    }

    std::unique_ptr<QDialog> dialog_;
    QTabWidget* tabs_;
    QWidget* editor_;
    QLabel* undo_;
    QCheckBox* promem_;
    QGroupBox* cursors_;
    QComboBox* comp_;
    QPushButton* cancExt_;
    QPushButton* ok_;
    QFileDialog* dialogFile_;
    QTreeWidget* pages_;
    QAction* action_;
    QLineEdit* name_;
};

TEST_F(OptionsDialog, TheItalianBlockSetsEveryWidgetsText) {
    ASSERT_TRUE(LocalizeWindow(*dialog_, LocalizationBlock("FopzProg")).ok());
    EXPECT_EQ(dialog_->windowTitle().toStdString(), "Opzioni del programma");
    EXPECT_EQ(tabs_->tabText(0).toStdString(), "Editor");
    EXPECT_EQ(tabs_->tabText(1).toStdString(), "Estensioni/applicazioni");
    EXPECT_EQ(undo_->text().toStdString(), "Profondità undo:");
    EXPECT_EQ(promem_->text().toStdString(), "Promemoria salvataggio:  ogni");
    std::vector<std::string> radios;
    for (auto* b : cursors_->findChildren<QRadioButton*>())
        radios.push_back(b->text().toStdString());
    EXPECT_THAT(radios, ElementsAre("Normali", "Evidenti", "Grandi", "Grandi ed evidenti"));
    EXPECT_EQ(cursors_->title().toStdString(), "Puntatori");
    ASSERT_EQ(comp_->count(), 4);
    EXPECT_EQ(comp_->itemText(2).toStdString(),
              "esegui utilizzando l'applicazione corrispondente registrata in Windows");
    EXPECT_EQ(comp_->currentIndex(), 2);  // the choice survives the new texts
    EXPECT_EQ(cancExt_->toolTip().toStdString(), "Elimina selezionata");
    EXPECT_EQ(ok_->text().toStdString(), "&Ok");
    // The filter is kept as written; as written it holds one description and its patterns.
    EXPECT_EQ(dialogFile_->property("orvoFilter").toString().toStdString(),
              "File eseguibile (*.exe,*.com)|*.exe;*.com;Tutti i file (*.*)|*.*");
    EXPECT_EQ(dialogFile_->nameFilters().size(), 1);
    EXPECT_EQ(name_->text().toStdString(), "nome");  // no key: its own text, trimmed
}

TEST_F(OptionsDialog, AnotherLanguageReplacesTheTextsAndABrokenBlockChangesNothing) {
    ASSERT_TRUE(LocalizeWindow(*dialog_, LocalizationBlock("FopzProg")).ok());
    const std::string english =
        "*_*fopzprog_caption\r\n Program options\r\n"
        "*_*tseditor_caption\r\n Editor\r\n"
        "*_*tsestensioni_caption\r\n File types\r\n"
        "*_*lundodeep_caption\r\n Undo depth:\r\n"
        "*_.rgcursors_items*count\r\n 4\r\n"
        "*_.rgcursors_items*item0\r\n Normal\r\n"
        "*_.rgcursors_items*item3\r\n Large and visible\r\n"
        "*_.lvpages_columns*item0_caption\r\n Page\r\n"
        "*_.lvpages_columns*item0_width\r\n 300\r\n"
        "*_.lvpages_columns*item1_caption\r\n Size\r\n"
        "*_.lvpages_columns*item1_alignment\r\n taRightJustify\r\n"
        "*_*n1_caption\r\n &File\r\n"
        "*_*n1_hint\r\n Files\xA7!and more\r\n";
    ASSERT_TRUE(LocalizeWindow(*dialog_, english).ok());
    EXPECT_EQ(dialog_->windowTitle().toStdString(), "Program options");
    EXPECT_EQ(tabs_->tabText(1).toStdString(), "File types");
    EXPECT_EQ(undo_->text().toStdString(), "Undo depth:");
    std::vector<std::string> radios;
    for (auto* b : cursors_->findChildren<QRadioButton*>())
        radios.push_back(b->text().toStdString());
    EXPECT_THAT(radios, ElementsAre("Normal", "", "", "Large and visible"));
    EXPECT_EQ(pages_->headerItem()->text(0).toStdString(), "Page");
    EXPECT_EQ(pages_->columnWidth(0), 300);
    EXPECT_TRUE(Qt::Alignment(pages_->headerItem()->textAlignment(1)) & Qt::AlignRight);
    EXPECT_EQ(action_->text().toStdString(), "&File");
    EXPECT_EQ(action_->toolTip().toStdString(), "Files\nand more");

    Status broken = LocalizeWindow(*dialog_, "*_*fopzprog_caption\r\n Rotto\r\nbok_caption\r\n Ok");
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(dialog_->windowTitle().toStdString(), "Program options");
}

TEST(NameFilters, TurnBlockFiltersIntoQtOnes) {
    // Patterns the description names already are not shown twice.
    EXPECT_EQ(NameFiltersFrom("Tutti i files (*.*)|*.*;|Files audio|*.wav;*.mid;*.au;|"),
              QStringList({"Tutti i files (*.*)", "Files audio (*.wav *.mid *.au)"}));
    EXPECT_EQ(NameFiltersFrom("File cornici (*.frm)|*.frm"), QStringList({"File cornici (*.frm)"}));
    // Other brackets (Qt would read "*.exe,*.com" as one pattern) are kept, the patterns
    // added.
    EXPECT_EQ(NameFiltersFrom("File eseguibile (*.exe,*.com)|*.exe;*.com"),
              QStringList({"File eseguibile (*.exe,*.com) (*.exe *.com)"}));
    EXPECT_EQ(NameFiltersFrom("Immagini (gif)|*.gif"), QStringList({"Immagini (gif) (*.gif)"}));
    EXPECT_TRUE(NameFiltersFrom("").isEmpty());
}

}  // namespace
}  // namespace orvo
