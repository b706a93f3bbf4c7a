#include "ui/view/FormView.h"

#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboField.h"
#include "ui/controls/Memo.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/SpinField.h"
#include "ui/view/Accessibility.h"
#include "ui/view/ButtonView.h"
#include "ui/view/CheckBoxView.h"
#include "ui/view/ComboFieldView.h"
#include "ui/view/GroupBoxView.h"
#include "ui/view/KeyboardReach.h"
#include "ui/view/LabelView.h"
#include "ui/view/MemoView.h"
#include "ui/view/MenuItemView.h"
#include "ui/view/PanelView.h"
#include "ui/view/RadioButtonView.h"
#include "ui/view/RadioGroupView.h"
#include "ui/view/ScrollBarView.h"
#include "ui/view/SpinFieldView.h"
#include "ui/view/TextFieldView.h"
#include "ui/view/ViewSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>

namespace tarvel::ui::view {

namespace {

using namespace controls;

QWidget* makeWidget(Control& control, platform::MessageSink& sink, QWidget* parent) {
    // Most derived kinds first: a spin field or a combo field is also a text field.
    if (auto* m = dynamic_cast<SpinField*>(&control))
        return new SpinFieldView(*m, sink, parent);
    if (auto* m = dynamic_cast<ComboField*>(&control))
        return new ComboFieldView(*m, sink, parent);
    if (auto* m = dynamic_cast<TextField*>(&control))
        return new TextFieldView(*m, sink, parent);
    if (auto* m = dynamic_cast<Label*>(&control))
        return new LabelView(*m, sink, parent);
    if (auto* m = dynamic_cast<Button*>(&control))
        return new ButtonView(*m, sink, parent);
    if (auto* m = dynamic_cast<Panel*>(&control))
        return new PanelView(*m, sink, parent);
    if (auto* m = dynamic_cast<GroupBox*>(&control))
        return new GroupBoxView(*m, sink, parent);
    if (auto* m = dynamic_cast<CheckBox*>(&control))
        return new CheckBoxView(*m, sink, parent);
    if (auto* m = dynamic_cast<RadioButton*>(&control))
        return new RadioButtonView(*m, sink, parent);
    if (auto* m = dynamic_cast<RadioGroup*>(&control))
        return new RadioGroupView(*m, sink, parent);
    if (auto* m = dynamic_cast<ScrollBar*>(&control))
        return new ScrollBarView(*m, sink, parent);
    if (auto* m = dynamic_cast<Memo*>(&control))
        return new MemoView(*m, sink, parent);
    throw std::invalid_argument("no widget shows control " + control.name());
}

// Fixed-pitch families that may be missing here; they fall back to the system's monospace font.
bool isFixedPitchFamily(const QString& family) {
    for (const char* word : {"courier", "mono", "fixed", "console", "terminal", "typewriter"})
        if (family.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    return false;
}

void applyStyle(QWidget& widget, const forms::ControlStyle& style) {
    if (style.bold || !style.fontFamily.empty()) {
        // Only what the style names is set; size and the rest still come from the container.
        QFont font = widget.font();
        if (style.bold)
            font.setBold(true);
        if (!style.fontFamily.empty()) {
            const QString family = QString::fromStdString(style.fontFamily);
            if (isFixedPitchFamily(family)) {
                font.setStyleHint(QFont::TypeWriter);
                font.setFamilies({family, QStringLiteral("Monospace")});
            } else {
                font.setFamilies({family});
            }
        }
        widget.setFont(font);
    }
    if (auto* field = dynamic_cast<TextFieldView*>(&widget)) {
        field->setBorderless(style.borderless);
        field->limitTyping(style.maxLength);
    }
}

// The contents of a container hidden while its window is built: built when the container first shows.
struct LaterContents {
    Control* owner;
    QWidget* container;
    std::vector<std::pair<Control*, std::optional<forms::ControlStyle>>> controls;
};

QWidget* makeStyledWidget(Control& control, const forms::ControlStyle* style, platform::MessageSink& sink,
                          QWidget* parent) {
    QWidget* widget = makeWidget(control, sink, parent);
    if (style) {
        applyStyle(*widget, *style);
        if (style->popUp)
            new PopUpFocus(*widget, [&control] { control.hide(); });
    }
    return widget;
}

// Puts the widget right after the other in the window's focus chain. The toolkit orders only widgets that
// take the focus; those that do not, do for the moment.
void placeInChainAfter(QWidget& previous, QWidget& widget) {
    const Qt::FocusPolicy previousPolicy = previous.focusPolicy();
    const Qt::FocusPolicy widgetPolicy = widget.focusPolicy();
    if (previousPolicy == Qt::NoFocus)
        previous.setFocusPolicy(Qt::TabFocus);
    if (widgetPolicy == Qt::NoFocus)
        widget.setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(&previous, &widget);
    previous.setFocusPolicy(previousPolicy);
    widget.setFocusPolicy(widgetPolicy);
}

// Builds what a hidden container holds, in the inventory's order, and puts the new widgets where the
// window built at once had them in its focus chain: right after the container, in that order (Tab and the
// pop-up panels' first stops follow the chain).
void buildContents(FormWindow& window, const LaterContents& later, platform::MessageSink& sink) {
    std::unordered_map<const Control*, QWidget*> containers;
    QWidget* previous = later.container;
    for (const auto& [control, style] : later.controls) {
        const auto found = containers.find(control->parent());
        QWidget* parent = found == containers.end() ? later.container : found->second;
        QWidget* widget = makeStyledWidget(*control, style ? &*style : nullptr, sink, parent);
        containers[control] = widget;
        window.addWidget(control->name(), widget);
        placeInChainAfter(*previous, *widget);
        previous = widget;
    }
    renewAccessibleInterfaces(*later.container);
}

} // namespace

std::unique_ptr<FormWindow> FormView::build(Form& form, const std::vector<Control*>& controls,
                                            platform::MessageSink& sink, Options options) {
    const bool fixed = options.fixedSingleBorder || (options.styles && options.styles->of(form).fixedSize);
    auto window = std::make_unique<FormWindow>(form, sink, fixed);
    window->setClosesOnEscape(options.styles && options.styles->of(form).popUp);

    // A menu item with items under it opens a drop-down; one without is a plain action.
    std::set<const Control*> menuParents;
    for (const Control* control : controls)
        if (dynamic_cast<const MenuItem*>(control) && dynamic_cast<const MenuItem*>(control->parent()))
            menuParents.insert(control->parent());

    std::unordered_map<const Control*, QWidget*> containers{{&form, window->clientArea()}};
    std::unordered_map<const Control*, QMenu*> menus;
    // Hidden containers, and what they hold, by control.
    std::unordered_map<const Control*, std::shared_ptr<LaterContents>> hidden;
    // The mnemonic letters taken in each menu (the bar under the form).
    std::unordered_map<const Control*, QString> mnemonics;
    for (Control* control : controls) {
        const Control* parent = control->parent() ? control->parent() : &form;
        if (auto* item = dynamic_cast<MenuItem*>(control)) {
            QMenu* parentMenu = nullptr;
            if (parent != &form) {
                const auto found = menus.find(parent);
                if (found == menus.end())
                    throw std::invalid_argument("menu item " + item->name() + " comes before its menu");
                parentMenu = found->second;
            }
            QAction* action = nullptr;
            if (menuParents.count(item)) {
                auto* menu = parentMenu ? parentMenu->addMenu(toQt(item->caption()))
                                        : window->ensureMenuBar()->addMenu(toQt(item->caption()));
                menu->setObjectName(QString::fromStdString(item->name()));
                menus[item] = menu;
                action = menu->menuAction();
            } else {
                action = parentMenu ? parentMenu->addAction(toQt(item->caption()))
                                    : window->ensureMenuBar()->addAction(toQt(item->caption()));
            }
            new MenuItemView(*item, sink, *action, chooseMnemonic(toQt(item->caption()), mnemonics[parent]));
            window->addAction(item->name(), action);
            continue;
        }
        std::optional<forms::ControlStyle> style;
        if (options.styles)
            style = options.styles->of(*control);
        if (const auto later = hidden.find(parent); later != hidden.end()) {
            later->second->controls.emplace_back(control, style);
            hidden[control] = later->second;
            continue;
        }
        const auto found = containers.find(parent);
        if (found == containers.end())
            throw std::invalid_argument("control " + control->name() + " comes before its container");
        QWidget* widget = makeStyledWidget(*control, style ? &*style : nullptr, sink, found->second);
        containers[control] = widget;
        window->addWidget(control->name(), widget);
        // Start-up builds what it shows: a hidden control's own widget keeps its place in the stacking
        // and the focus chain, what it holds comes later.
        if (!control->visible())
            hidden[control] = std::make_shared<LaterContents>(LaterContents{control, widget, {}});
    }
    for (const auto& [control, later] : hidden) {
        if (later->owner != control || later->controls.empty())
            continue;
        std::vector<std::string> names;
        for (const auto& entry : later->controls)
            names.push_back(entry.first->name());
        window->buildLater(*later->container, names,
                           [&window = *window, later, &sink] { buildContents(window, *later, sink); });
        // The contents are built as the container's model shows, before its widget does: built under a
        // hidden container, each widget gets its first size only once it is whole.
        Control* owner = later->owner;
        auto showing = owner->viewListener();
        owner->setViewListener(
            [owner, showing, &window = *window, container = later->container](ViewChange what) {
                if (what != ViewChange::Focus && owner->visible())
                    window.buildNow(container);
                showing(what);
            });
    }
    renewAccessibleInterfaces(*window);
    window->finishBuilding();
    return window;
}

} // namespace tarvel::ui::view
