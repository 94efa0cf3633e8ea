// "Cancella oggetti dagli album interni": the objects to delete, the pages and prototypes that
// use them (listed by a worker thread while the window shows), and Ok, which deletes them.
#pragma once

#include <QPointer>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/ObjectDeletion.h"
#include "app/WhereUsed.h"
#include "ui/album/AlbumSupport.h"

class QPlainTextEdit;
class QProgressBar;
class QTabWidget;

namespace orvo {

class TKYTset;

class DeletionWindow final : public album::DressedDialog {
public:
    DeletionWindow(TKYTset& set, std::vector<std::int32_t> codes, DeletionEditor editor,
                   album::WindowDressing dressing, QWidget* parent = nullptr);
    ~DeletionWindow() override;

    /// The search starts when the window shows; tests may start it themselves.
    void StartSearch();
    /// Whether the search has listed every object.
    bool SearchDone() const { return done_; }
    /// "&Ok": stops the search, then deletes.
    void Confirm();
    const DeletionResult& Result() const { return result_; }
    QPlainTextEdit* References() const { return references_; }
    QPlainTextEdit* Selected() const { return selected_; }
    QProgressBar* Progress() const { return progress_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Found(std::vector<std::string> lines);
    void StopSearch();

    TKYTset& set_;
    std::vector<std::int32_t> codes_;
    DeletionEditor editor_;
    std::unique_ptr<WhereUsedSearch> search_;
    bool done_ = false;
    DeletionResult result_;
    QTabWidget* tabs_ = nullptr;
    QPlainTextEdit* references_ = nullptr;
    QPlainTextEdit* selected_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QProgressBar* deleting_ = nullptr;
};

}  // namespace orvo
