// The open and save dialogs as the command flow asks for them: the filters it gives, the
// folder and the name it proposes, the title of the block, the file and filter chosen; run
// with Qt's own dialog widgets, offscreen, and answered from inside their event loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "MainWindowSupport.h"
#include "app/DocumentConverters.h"
#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/app/PageListView.h"
#include "ui/app/QtLocalizer.h"
#include "ui/app/QtPrompter.h"
#include "ui/app/QtTranslations.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

struct Seen {
    QString cancel;  // the caption of the dialog's cancel button
    QString title;
    QStringList filters;
    QString selectedFilter;
    QString folder;
    QStringList selected;
    bool save = false;
    bool nonNative = false;
};

// Answers the next file dialog: notes what it shows, then `act` on it (choose or cancel).
void Answer(Seen& seen, std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [&seen, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog is open";
            return;
        }
        seen.title = dialog->windowTitle();
        seen.filters = dialog->nameFilters();
        seen.selectedFilter = dialog->selectedNameFilter();
        seen.folder = dialog->directory().absolutePath();
        seen.selected = dialog->selectedFiles();
        seen.save = dialog->acceptMode() == QFileDialog::AcceptSave;
        seen.nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Ann")) ||
                button->text().remove(QLatin1Char('&')) == QStringLiteral("Cancel"))
                seen.cancel = button->text().remove(QLatin1Char('&'));
        act(*dialog);
    });
}

void Choose(QFileDialog& dialog, const std::string& path, int filter = -1) {
    if (filter >= 0) dialog.selectNameFilter(dialog.nameFilters()[filter]);
    dialog.selectFile(QString::fromStdString(NativePath(path).string()));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
}

TEST(QtPrompterTest, OpenAndSaveDialogsCarryTheRequestAndGiveBackTheChoice) {
    EnsureApplication();
    QWidget parent;
    QObject* openTexts = NewDialogTexts(QStringLiteral("OpenDialog"), &parent);
    QObject* saveTexts = NewDialogTexts(QStringLiteral("SaveDialog"), &parent);
    openTexts->setProperty("title", QStringLiteral("Apri"));
    saveTexts->setProperty("title", QStringLiteral("Salva con nome"));
    QtPrompter prompter(&parent);
    prompter.SetDialogTexts(openTexts, saveTexts);
    prompter.SetNonNative(true);
    const auto folder = TestDir() / "cartella";
    WriteFile(folder / "Libro.kyt", "x");

    FileDialogRequest open;
    open.folder = NameOfPath(folder);
    open.filter = "Orvo hypertext (*.kyt)|*.kyt|Tutti i files (*.*)|*.*";
    Seen seen;
    Answer(seen, [&](QFileDialog& d) { Choose(d, NameOfPath(folder / "Libro.kyt"), 1); });
    std::optional<FileChoice> choice = prompter.OpenDialog(open);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, NameOfPath(folder / "Libro.kyt"));
    EXPECT_EQ(choice->filterIndex, 2);
    EXPECT_FALSE(seen.save);
    EXPECT_TRUE(seen.nonNative);
    EXPECT_EQ(seen.title, QStringLiteral("Apri"));
    EXPECT_EQ(seen.filters, (QStringList{QStringLiteral("Orvo hypertext (*.kyt)"),
                                         QStringLiteral("Tutti i files (*.*)")}));
    EXPECT_EQ(seen.selectedFilter, QStringLiteral("Orvo hypertext (*.kyt)"));
    EXPECT_EQ(seen.folder.toStdString(), NativePath(NameOfPath(folder)).string());

    // Cancelled: nothing chosen.
    Answer(seen, [](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(prompter.OpenDialog(open).has_value());

    // A save dialog with its own title, the third filter preselected and a name proposed.
    FileDialogRequest save;
    save.title = "Salva pagina";
    save.folder = NameOfPath(folder);
    save.fileName = "Pagina";
    save.filter = std::string(TMainFormRules::kSaveFilter);
    save.filterIndex = 3;
    Answer(seen, [&](QFileDialog& d) { Choose(d, NameOfPath(folder / "Nuova.htm")); });
    choice = prompter.SaveDialog(save);
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(seen.save);
    EXPECT_EQ(seen.title, QStringLiteral("Salva pagina"));
    ASSERT_EQ(seen.filters.size(), 6);
    EXPECT_EQ(seen.selectedFilter, QStringLiteral("Salva pagina corrente in HTML (*.htm)"));
    EXPECT_EQ(seen.filters[1],
              QStringLiteral("Salva ipertesto altri formati (*.htm *.rtf *.txt *.asc *.c *.pas "
                             "*.doc)"));
    ASSERT_EQ(seen.selected.size(), 1);
    EXPECT_EQ(seen.selected.front().toStdString(), (folder / "Pagina").string());
    EXPECT_EQ(choice->path, NameOfPath(folder / "Nuova.htm"));
    EXPECT_EQ(choice->filterIndex, 3);

    // A filter index past the list selects the last filter; none at all leaves Qt's own.
    save.filterIndex = 99;
    save.title.clear();
    Answer(seen, [](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(prompter.SaveDialog(save).has_value());
    EXPECT_EQ(seen.selectedFilter, QStringLiteral("Tutti i files (*.*)"));
    EXPECT_EQ(seen.title, QStringLiteral("Salva con nome"));
}

TEST(QtTranslationsTest, QtsOwnTextsInTheDialogsAreItalian) {
    EnsureApplication();
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance()));
    QWidget parent;
    QtPrompter prompter(&parent);
    prompter.SetNonNative(true);
    Seen seen;
    Answer(seen, [](QFileDialog& d) { d.reject(); });
    FileDialogRequest request;
    request.filter = "Tutti i files (*.*)|*.*";
    EXPECT_FALSE(prompter.OpenDialog(request).has_value());
    EXPECT_EQ(seen.cancel, QStringLiteral("Annulla"));
}

TEST_F(MainWindowTest, TheOpenCommandRunsTheDialogWithTheFlowsFilterAndOpensTheChoice) {
    MainWindowOptions options;
    options.nonNativeDialogs = true;
    auto window = Open(first_, options);
    Seen seen;
    Answer(seen, [&](QFileDialog& d) { Choose(d, second_); });
    window->Rules().Execute(CommandId::FileOpen);
    EXPECT_EQ(seen.title, QStringLiteral("Apri"));
    EXPECT_EQ(seen.filters, (QStringList{QStringLiteral("Orvo hypertext (*.kyt)"),
                                         QStringLiteral("Tutti i files (*.*)")}));
    EXPECT_EQ(seen.folder.toStdString(), TestDir().string());
    EXPECT_EQ(window->Document().KYTFileName(), second_);
    EXPECT_EQ(window->PageShown(), 0);
}

TEST_F(MainWindowTest, SaveAsProposesTheDocumentsNameAndAddsTheExtensionOfTheFirstFilter) {
    MainWindowOptions options;
    options.nonNativeDialogs = true;
    auto window = Open(first_, options);
    ASSERT_TRUE(window->Rules().EditMode());  // no edit password
    Seen seen;
    const std::string copy = NameOfPath(TestDir() / "Copia");
    Answer(seen, [&](QFileDialog& d) { Choose(d, copy, 0); });
    window->Rules().Execute(CommandId::FileSaveAs);
    EXPECT_TRUE(seen.save);
    EXPECT_EQ(seen.title, QStringLiteral("Salva con nome"));
    ASSERT_EQ(seen.filters.size(), 6);
    EXPECT_EQ(seen.selectedFilter, QStringLiteral("Salva ipertesto Orvo (*.kyt)"));
    ASSERT_EQ(seen.selected.size(), 1);
    EXPECT_EQ(seen.selected.front().toStdString(), (TestDir() / "Esempio").string());
    // Written and named: the caption and the document follow the new file.
    EXPECT_EQ(window->Document().KYTFileName(), copy + ".kyt");
    EXPECT_THAT(window->windowTitle().toStdString(), HasSubstr("Copia.kyt"));
    TKYTset reread(environment_, scratchMessages_);
    ASSERT_TRUE(reread.LoadFromFile(copy + ".kyt"));
    EXPECT_EQ(reread.KindCount(TOggettiHel::testoHtml),
              window->Document().KindCount(TOggettiHel::testoHtml));
}

TEST_F(MainWindowTest, TheHtmlConverterTakesTheExportOptionsOfTheSettings) {
    settings_.Write("htmlexp", "expOrigName", "1");
    settings_.Write("htmlexp", "expAlt", "0");
    settings_.Write("htmlexp", "expTipoExt", "1");
    auto window = Open(first_);
    EXPECT_TRUE(window->Converters().Html().ExpOrigName);
    EXPECT_FALSE(window->Converters().Html().ExpSepImage);
    EXPECT_FALSE(window->Converters().Html().ExpAlt);
    EXPECT_EQ(window->Converters().Html().ExpTipoExt, 1);
}

TEST_F(MainWindowTest, ATextFileOpensAsAPageThatSavesAsTextThroughTheDialog) {
    MainWindowOptions options;
    options.nonNativeDialogs = true;
    auto window = Open(first_, options);
    const auto source = TestDir() / "testi" / "Appunti.txt";
    WriteFile(source, "prima riga\r\nseconda & ultima");
    window->OpenFile(NameOfPath(source));
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_THAT(ViewText(*window), HasSubstr("prima riga\nseconda & ultima"));
    EXPECT_EQ(window->PageList().topLevelItemCount(), 1);
    EXPECT_TRUE(window->Rules().DocumentPath().empty());  // never saved over the text file

    // Save As proposes the source's name as a hypertext; the TXT filter writes the page.
    Seen seen;
    const std::string out = NameOfPath(TestDir() / "Fuori.txt");
    Answer(seen, [&](QFileDialog& d) { Choose(d, out, 4); });
    window->Rules().Execute(CommandId::FileSaveAs);
    ASSERT_EQ(seen.selected.size(), 1);
    EXPECT_EQ(seen.selected.front().toStdString(), (TestDir() / "testi" / "Appunti.kyt").string());
    EXPECT_EQ(ReadFile(NativePath(out)), "prima riga\r\nseconda & ultima");
    EXPECT_EQ(ReadFile(source), "prima riga\r\nseconda & ultima");
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
