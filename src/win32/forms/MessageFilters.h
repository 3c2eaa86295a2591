#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A step the message loop runs each queued message through before dispatching it. A window
// that must see keys before its controls do (a dialog's keyboard) registers one for as long as
// it exists; the loop asks the registered filters, never searches for their windows.
class MessageFilter {
  public:
    virtual ~MessageFilter() = default;
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslate(MSG& message) = 0;
};

void AddMessageFilter(MessageFilter& filter);
void RemoveMessageFilter(MessageFilter& filter);

// Runs a queued message through the registered filters, each contained: a filter that fails
// leaves the message to be dispatched. True when a filter handled it.
bool RunMessageFilters(MSG& message);

}  // namespace glimra::win32
