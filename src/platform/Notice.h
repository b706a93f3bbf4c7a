#pragma once
// A change the core reports to whoever listens: any number of listeners, told in the order they were
// connected, each on the thread that raises the notice. Listeners are connected once, where a front end
// wires itself up, and stay for the life of the notice's owner.
#include <functional>
#include <utility>
#include <vector>

namespace tarvel::platform {

template <typename... Args> class Notice {
public:
    using Listener = std::function<void(Args...)>;

    void connect(Listener listener) { listeners_.push_back(std::move(listener)); }

    // Not to be connected to from inside a listener: the list must not move while it is being told.
    void operator()(const Args&... args) const {
        for (const Listener& listener : listeners_)
            listener(args...);
    }

    bool connected() const { return !listeners_.empty(); }

private:
    std::vector<Listener> listeners_;
};

} // namespace tarvel::platform
