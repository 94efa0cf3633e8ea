// The Qt side of localisation: which property of a block is which setter of a widget.
#include "ui/app/QtLocalizer.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "base/Cp1252.h"
#include "ui/NameFilters.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

// Texts of the core keep CR LF; widgets show a line break as LF.
QString ToDisplay(std::string_view cp1252) {
    QString text = ToQString(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromDisplay(const QString& text) {
    QString copy = text;
    copy.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToCp1252(copy);
}

bool Is(std::string_view property, const char* name) {
    return SameText1252(property, name);
}

QTabWidget* TabWidgetOfPage(QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    if (!stack) return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

bool IsDialogTexts(const QObject* object) {
    return object->property(kDialogTextsProperty).toBool();
}

std::vector<QRadioButton*> RadioButtons(QGroupBox* group) {
    std::vector<QRadioButton*> buttons;
    for (QObject* child : group->children())
        if (auto* b = qobject_cast<QRadioButton*>(child)) buttons.push_back(b);
    return buttons;
}

// One column of a tree widget's header.
class ColumnItem final : public IPropertyHolder {
public:
    ColumnItem(QTreeWidget* tree, int column) : tree_(tree), column_(column) {}
    std::vector<PropertyInfo> Properties() const override {
        return {{"Caption", PropertyType::Text},
                {"Width", PropertyType::Integer},
                {"Alignment", PropertyType::Enumeration}};
    }
    std::string GetValue(std::string_view p) const override {
        QTreeWidgetItem* header = tree_->headerItem();
        if (Is(p, "caption")) return FromDisplay(header->text(column_));
        if (Is(p, "width")) return std::to_string(tree_->columnWidth(column_));
        const auto align = Qt::Alignment(header->textAlignment(column_));
        if (align & Qt::AlignRight) return "taRightJustify";
        if (align & Qt::AlignHCenter) return "taCenter";
        return "taLeftJustify";
    }
    bool SetValue(std::string_view p, std::string_view v) override {
        QTreeWidgetItem* header = tree_->headerItem();
        if (Is(p, "caption")) {
            header->setText(column_, ToDisplay(v));
        } else if (Is(p, "width")) {
            tree_->setColumnWidth(column_, std::stoi(std::string(v)));
        } else {
            Qt::Alignment h = Qt::AlignLeft;
            if (v == "taRightJustify") h = Qt::AlignRight;
            if (v == "taCenter") h = Qt::AlignHCenter;
            header->setTextAlignment(column_, h | Qt::AlignVCenter);
        }
        return true;
    }
    std::vector<std::string> EnumNames(std::string_view) const override {
        return {"taLeftJustify", "taRightJustify", "taCenter"};
    }

private:
    QTreeWidget* tree_;
    int column_;
};

}  // namespace

// One named object below the window, or the window itself.
class QtLocalizableWindow::Component final : public ILocalizableComponent {
public:
    Component(QObject* object, bool isWindow) : object_(object), isWindow_(isWindow) {}

    std::string Name() const override { return ToCp1252(object_->objectName()); }

    ComponentKind Kind() const override {
        if (isWindow_) return ComponentKind::Window;
        if (qobject_cast<QAction*>(object_) || qobject_cast<QMenu*>(object_))
            return ComponentKind::MenuItem;
        return ComponentKind::Other;
    }

    std::vector<PropertyInfo> Properties() const override {
        std::vector<PropertyInfo> p;
        auto text = [&](const char* name) { p.push_back({name, PropertyType::Text}); };
        auto list = [&](const char* name) { p.push_back({name, PropertyType::StringList}); };
        if (isWindow_) {
            text("Caption");
            text("Hint");
            return p;
        }
        if (qobject_cast<QAction*>(object_) || qobject_cast<QMenu*>(object_)) {
            text("Caption");
            text("Hint");
            return p;
        }
        if (qobject_cast<QFileDialog*>(object_) || IsDialogTexts(object_)) {
            text("Filter");
            text("Title");
            return p;
        }
        auto* widget = qobject_cast<QWidget*>(object_);
        if (!widget) return p;
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
            qobject_cast<QGroupBox*>(widget) || qobject_cast<QToolBar*>(widget) ||
            TabWidgetOfPage(widget))
            text("Caption");
        if (auto* group = qobject_cast<QGroupBox*>(widget); group && !RadioButtons(group).empty())
            list("Items");
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            list("Items");
            if (combo->isEditable()) text("Text");
        }
        if (qobject_cast<QListWidget*>(widget)) list("Items");
        if (qobject_cast<QLineEdit*>(widget)) text("Text");
        if (qobject_cast<QPlainTextEdit*>(widget)) list("Lines");
        if (qobject_cast<QTabWidget*>(widget)) list("Tabs");
        if (qobject_cast<QTreeWidget*>(widget)) p.push_back({"Columns", PropertyType::Collection});
        text("Hint");
        return p;
    }

    std::string GetValue(std::string_view property) const override {
        QWidget* widget = qobject_cast<QWidget*>(object_);
        if (Is(property, "hint")) {
            if (auto* action = qobject_cast<QAction*>(object_))
                return FromDisplay(action->toolTip());
            return widget ? FromDisplay(widget->toolTip()) : std::string();
        }
        if (Is(property, "caption")) {
            if (isWindow_) return FromDisplay(widget->windowTitle());
            if (auto* a = qobject_cast<QAction*>(object_)) return FromDisplay(a->text());
            if (auto* m = qobject_cast<QMenu*>(object_)) return FromDisplay(m->title());
            if (auto* b = qobject_cast<QAbstractButton*>(object_)) return FromDisplay(b->text());
            if (auto* l = qobject_cast<QLabel*>(object_)) return FromDisplay(l->text());
            if (auto* g = qobject_cast<QGroupBox*>(object_)) return FromDisplay(g->title());
            if (auto* t = qobject_cast<QToolBar*>(object_)) return FromDisplay(t->windowTitle());
            if (QTabWidget* tabs = widget ? TabWidgetOfPage(widget) : nullptr)
                return FromDisplay(tabs->tabText(tabs->indexOf(widget)));
        }
        if (Is(property, "text")) {
            if (auto* e = qobject_cast<QLineEdit*>(object_)) return FromDisplay(e->text());
            if (auto* c = qobject_cast<QComboBox*>(object_)) return FromDisplay(c->currentText());
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(object_)) {
            if (Is(property, "title")) return FromDisplay(dialog->windowTitle());
            if (Is(property, "filter")) return ToCp1252(dialog->property("orvoFilter").toString());
        }
        if (IsDialogTexts(object_)) {
            if (Is(property, "title")) return FromDisplay(object_->property("title").toString());
            if (Is(property, "filter")) return ToCp1252(object_->property("filter").toString());
        }
        return {};
    }

    bool SetValue(std::string_view property, std::string_view value) override {
        const QString text = ToDisplay(value);
        QWidget* widget = qobject_cast<QWidget*>(object_);
        if (Is(property, "hint")) {
            if (auto* action = qobject_cast<QAction*>(object_))
                action->setToolTip(text);
            else if (widget)
                widget->setToolTip(text);
            return true;
        }
        if (Is(property, "caption")) {
            if (isWindow_)
                widget->setWindowTitle(text);
            else if (auto* a = qobject_cast<QAction*>(object_))
                a->setText(text);
            else if (auto* m = qobject_cast<QMenu*>(object_))
                m->setTitle(text);
            else if (auto* b = qobject_cast<QAbstractButton*>(object_))
                b->setText(text);
            else if (auto* l = qobject_cast<QLabel*>(object_))
                l->setText(text);
            else if (auto* g = qobject_cast<QGroupBox*>(object_))
                g->setTitle(text);
            else if (auto* t = qobject_cast<QToolBar*>(object_))
                t->setWindowTitle(text);
            else if (QTabWidget* tabs = widget ? TabWidgetOfPage(widget) : nullptr)
                tabs->setTabText(tabs->indexOf(widget), text);
            else
                return false;
            return true;
        }
        if (Is(property, "text")) {
            if (auto* e = qobject_cast<QLineEdit*>(object_))
                e->setText(text);
            else if (auto* c = qobject_cast<QComboBox*>(object_))
                c->setCurrentText(text);
            else
                return false;
            return true;
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(object_)) {
            if (Is(property, "title")) dialog->setWindowTitle(text);
            if (Is(property, "filter")) {
                dialog->setProperty("orvoFilter", ToQString(value));
                dialog->setNameFilters(NameFiltersFrom(value));
            }
            return true;
        }
        if (IsDialogTexts(object_)) {
            if (Is(property, "title")) object_->setProperty("title", text);
            if (Is(property, "filter")) object_->setProperty("filter", ToQString(value));
            return true;
        }
        return false;
    }

    bool SetStrings(std::string_view property, const std::vector<std::string>& items) override {
        QStringList list;
        for (const auto& item : items) list.push_back(ToDisplay(item));
        if (auto* combo = qobject_cast<QComboBox*>(object_); combo && Is(property, "items")) {
            const int current = combo->currentIndex();
            combo->clear();
            combo->addItems(list);
            combo->setCurrentIndex(current < list.size() ? current : -1);
            return true;
        }
        if (auto* listWidget = qobject_cast<QListWidget*>(object_)) {
            listWidget->clear();
            listWidget->addItems(list);
            return true;
        }
        if (auto* group = qobject_cast<QGroupBox*>(object_)) {
            // A radio group gets as many buttons as items; the block names them all.
            auto buttons = RadioButtons(group);
            for (std::size_t i = 0; i < buttons.size(); ++i)
                buttons[i]->setText(i < std::size_t(list.size()) ? list[qsizetype(i)] : QString());
            return true;
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(object_)) {
            edit->setPlainText(list.join(QLatin1Char('\n')));
            return true;
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(object_)) {
            for (int i = 0; i < tabs->count() && i < list.size(); ++i) tabs->setTabText(i, list[i]);
            return true;
        }
        return false;
    }

    std::vector<IPropertyHolder*> Items(std::string_view) override {
        std::vector<IPropertyHolder*> out;
        auto* tree = qobject_cast<QTreeWidget*>(object_);
        if (!tree) return out;
        columns_.clear();
        for (int c = 0; c < tree->columnCount(); ++c) {
            columns_.push_back(std::make_unique<ColumnItem>(tree, c));
            out.push_back(columns_.back().get());
        }
        return out;
    }

    void BeginUpdate(std::string_view) override {
        if (auto* w = qobject_cast<QWidget*>(object_)) w->setUpdatesEnabled(false);
    }
    void EndUpdate(std::string_view) override {
        if (auto* w = qobject_cast<QWidget*>(object_)) w->setUpdatesEnabled(true);
    }

private:
    QObject* object_;
    bool isWindow_;
    std::vector<std::unique_ptr<ColumnItem>> columns_;
};

QtLocalizableWindow::QtLocalizableWindow(QWidget& window)
    : self_(std::make_unique<Component>(&window, true)) {
    for (QObject* child : window.findChildren<QObject*>())
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            components_.push_back(std::make_unique<Component>(child, false));
}

QtLocalizableWindow::~QtLocalizableWindow() = default;

std::string QtLocalizableWindow::Name() const {
    return self_->Name();
}
std::vector<PropertyInfo> QtLocalizableWindow::Properties() const {
    return self_->Properties();
}
std::string QtLocalizableWindow::GetValue(std::string_view p) const {
    return self_->GetValue(p);
}
bool QtLocalizableWindow::SetValue(std::string_view p, std::string_view v) {
    return self_->SetValue(p, v);
}

std::vector<ILocalizableComponent*> QtLocalizableWindow::Components() {
    std::vector<ILocalizableComponent*> out;
    for (auto& c : components_) out.push_back(c.get());
    return out;
}

ILocalizableComponent* QtLocalizableWindow::FindComponent(std::string_view name) {
    for (auto& c : components_)
        if (SameText1252(c->Name(), name)) return c.get();
    return nullptr;
}

Status LocalizeWindow(QWidget& window, std::string_view block, IWindowDirectory* windows) {
    QtLocalizableWindow view(window);
    TQzLanguager localiser(view, windows);
    return localiser.SetLocalizationString(block);
}

}  // namespace orvo

namespace orvo {

QObject* NewDialogTexts(const QString& name, QObject* parent) {
    auto* texts = new QObject(parent);
    texts->setObjectName(name);
    texts->setProperty(kDialogTextsProperty, true);
    return texts;
}

}  // namespace orvo
