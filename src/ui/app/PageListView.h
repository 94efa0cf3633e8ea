// The flat list of the open hypertext's pages, sorted by title, with their text size, file
// name and number. A page picked (clicked or chosen with the keyboard) is reported by its
// identifier.
#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace orvo {

class TKYTListView;
class TKYTset;

class PageListView final : public QTreeWidget {
public:
    explicit PageListView(TKYTset& set, QWidget* parent = nullptr);
    ~PageListView() override;

    /// Lists the pages of the open hypertext again.
    void Reload();
    /// Selects the row of that page (without reporting it); false when the list has none.
    bool SelectPage(std::int32_t pageIdentifier);
    /// The row of that page, or nullptr.
    QTreeWidgetItem* ItemOfPage(std::int32_t pageIdentifier) const;
    const TKYTListView& List() const { return *list_; }

    std::function<void(std::int32_t pageIdentifier)> onPagePicked;

    /// The row's page identifier; -1 when it names none.
    static std::int32_t PageOf(const QTreeWidgetItem& item);

private:
    TKYTset& set_;
    std::unique_ptr<TKYTListView> list_;
    bool filling_ = false;
};

}  // namespace orvo
