#pragma once

#include "app/message_catalogue.h"

#include <string>

namespace qzb {

// A window handle of the front end, opaque to the core (a QWidget* in the GUI).
using WindowHandle = const void*;

struct CMessageBoxRequest
{
    MessageCode code = kOk; // the catalogue code shown; 0 for a plain box
    std::u16string caption;
    std::u16string text;
    ButtonSet buttons = ButtonSet::Ok;
    WindowHandle owner = nullptr;
};

// Shows message boxes for the core: the GUI opens a modal box without icon, the command line
// prints to stderr, tests record. Returns the DialogAnswer of the pressed button.
class IMessagePresenter
{
public:
    virtual ~IMessagePresenter() = default;
    virtual int Present(const CMessageBoxRequest& request) = 0;
    // The window that owns a box when the caller names none.
    virtual WindowHandle ActiveWindow() const { return nullptr; }
};

} // namespace qzb
