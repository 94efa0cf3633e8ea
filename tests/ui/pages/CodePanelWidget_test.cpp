// The custom-code panel's editing buttons offscreen: "&Taglia" and "&Copia" act only while
// something of the code is selected, "Undo" only while the panel's undo list has steps, and
// an inserted reference is one of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <cstdlib>
#include <optional>

#include "MainWindowSupport.h"
#include "app/CustomCodePanel.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "orvo_ui_pages_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class CodePanelCommands : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        MakeSampleHypertext(set_);
        panel_.emplace(set_, env_, messages_);
        widget_ = std::make_unique<CodePanelWidget>(*panel_, scheduler_, messages_);
        widget_->resize(640, 360);
        widget_->Refresh();
        widget_->show();
        panel_->LoadCode(std::nullopt);
        QApplication::processEvents();
    }
    void TearDown() override { widget_.reset(); }

    QPushButton& Button(const char* name) {
        auto* button = widget_->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return *button;
    }
    // Which of cut, copy and undo can be pressed, as "CCU" with "-" for a disabled one.
    std::string Enabled() {
        QApplication::processEvents();
        std::string out;
        out += Button("BTaglia").isEnabled() ? 'T' : '-';
        out += Button("BCopia").isEnabled() ? 'C' : '-';
        out += Button("BUndo").isEnabled() ? 'U' : '-';
        return out;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QWidget* surface = widget_->Editor().Surface();
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(surface, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(surface, &release);
    }

    FixedEnvironment env_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{env_, messages_};
    std::optional<CustomCodePanel> panel_;
    std::unique_ptr<CodePanelWidget> widget_;
};

TEST_F(CodePanelCommands, CutCopyAndUndoActOnlyWhenThereIsSomethingToActOn) {
    EXPECT_EQ(Enabled(), "---");  // a new code: nothing selected, nothing to undo
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Key(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    EXPECT_EQ(Enabled(), "--U");
    Key(Qt::Key_Left, Qt::ShiftModifier);  // "a|b|" with "b" selected
    EXPECT_EQ(Enabled(), "TCU");
    Button("BCopia").click();
    EXPECT_EQ(Enabled(), "TCU");
    Button("BTaglia").click();  // the selection goes with the cut
    EXPECT_EQ(Enabled(), "--U");
    EXPECT_EQ(ViewText(widget_->Editor()), "a\n");
    // Undone step by step: the cut, then the typing; then nothing is left to undo.
    for (int i = 0; i < 10 && Button("BUndo").isEnabled(); ++i) {
        Button("BUndo").click();
        QApplication::processEvents();
    }
    EXPECT_EQ(Enabled().back(), '-');
    EXPECT_EQ(panel_->CodeText(), "");
    EXPECT_TRUE(messages_.Shown().empty());
}

// A reference inserted is one step of the panel's undo list, as typing is: "Undo" takes the
// typing after it out, then the reference, and the code stored follows.
TEST_F(CodePanelCommands, AnInsertedReferenceIsUndoneAsOneStep) {
    panel_->CanInsDim = true;
    widget_->Refresh();
    PageViewWidget& editor = widget_->Editor();
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Button("BDimX").click();
    EXPECT_EQ(Enabled().back(), 'U');
    Key(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    const std::string full = ViewText(editor);
    ASSERT_EQ(full.size(), 4u);  // "a", the reference's marker, "b"
    ASSERT_NE(editor.ObjectViews(), nullptr);
    EXPECT_EQ(editor.ObjectViews()->ViewCount(), 1u);  // the marker is drawn
    for (const std::string& expected : {full.substr(0, 2) + "\n", std::string("a\n")}) {
        ASSERT_EQ(Enabled().back(), 'U') << expected;
        Button("BUndo").click();
        QApplication::processEvents();
        EXPECT_EQ(ViewText(editor), expected);
    }
    EXPECT_EQ(panel_->CodeText(), "a");
    EXPECT_TRUE(panel_->Editor().Edited());
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
