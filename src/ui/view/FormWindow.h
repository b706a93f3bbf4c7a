#pragma once
// The window showing a Form model: an optional menu bar above a client area sized by the model, the
// widgets of the form's controls (found by model name), and the operator's resizing and closing passed
// back to the model.
#include "platform/MessageSink.h"
#include "ui/controls/Simple.h"
#include "ui/view/ViewBinding.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenuBar;

namespace tarvel::ui::view {

class FormWindow : public QWidget {
public:
    // fixedSingleBorder: the operator can neither resize nor maximise the window, only minimise it.
    FormWindow(controls::Form& model, platform::MessageSink& sink, bool fixedSingleBorder);
    ~FormWindow() override;

    controls::Form& model() const { return model_; }
    bool fixedSingleBorder() const { return fixed_; }
    // Font size of the window's controls, in (device-independent) pixels like their places.
    static constexpr int kDesignFontPixels = 11;

    // The parent of the widgets of controls placed on the form itself.
    QWidget* clientArea() const { return client_; }
    // The menu bar, made on first use; nullptr while the form has no menu.
    QMenuBar* menuBar() const { return menuBar_; }
    QMenuBar* ensureMenuBar();

    // The widget or menu action showing the control of that name (nullptr when there is none).
    QWidget* widget(const std::string& name) const;
    template <class W> W* widgetAs(const std::string& name) const { return dynamic_cast<W*>(widget(name)); }
    QAction* action(const std::string& name) const;
    void addWidget(const std::string& name, QWidget* widget);
    void addAction(const std::string& name, QAction* action);

    // A window that opens over the main one for a while (such as the help text): Escape closes it.
    void setClosesOnEscape(bool closes) { closesOnEscape_ = closes; }

    // What a container hidden at start holds is built later: build makes the widgets of the named
    // controls, at the latest when one of them is asked for by name.
    void buildLater(QWidget& container, const std::vector<std::string>& names, std::function<void()> build);
    // Builds what the container holds now, if that is still to do.
    void buildNow(QWidget* container);

    // From now on the window is shown whenever its model is visible; until then it stays hidden, so that
    // every widget exists before the window first appears.
    void finishBuilding();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab stop only at controls the operator can see.
    bool focusNextPrevChild(bool next) override;

private:
    void sync();
    int menuBarHeight(int width) const;
    void placeChildren();

    controls::Form& model_;
    platform::MessageSink& sink_;
    bool fixed_;
    bool built_ = false;
    bool closesOnEscape_ = false;
    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    std::map<std::string, QPointer<QWidget>> widgets_;
    std::map<std::string, QPointer<QAction>> actions_;
    // Containers whose contents are not built yet, and the names of those contents.
    std::map<QWidget*, std::function<void()>> later_;
    std::map<std::string, QWidget*> laterNames_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
