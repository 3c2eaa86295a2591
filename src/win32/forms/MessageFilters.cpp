#include "win32/forms/MessageFilters.h"

#include <algorithm>
#include <vector>

#include "platform/EntryGuard.h"

namespace glimra::win32 {
namespace {

// The windows of the program live on one thread, the one that runs the message loop.
std::vector<MessageFilter*>& Filters() {
    static std::vector<MessageFilter*> filters;
    return filters;
}

bool Registered(const MessageFilter* filter) {
    const auto& filters = Filters();
    return std::find(filters.begin(), filters.end(), filter) != filters.end();
}

}  // namespace

void AddMessageFilter(MessageFilter& filter) {
    if (!Registered(&filter)) Filters().push_back(&filter);
}

void RemoveMessageFilter(MessageFilter& filter) {
    std::erase(Filters(), &filter);
}

bool RunMessageFilters(MSG& message) {
    // A filter may end its window, and with it its registration, while it runs.
    const std::vector<MessageFilter*> filters = Filters();
    for (MessageFilter* filter : filters) {
        if (!Registered(filter)) continue;
        if (Contained([&] { return filter->PreTranslate(message); }, false)) return true;
    }
    return false;
}

}  // namespace glimra::win32
