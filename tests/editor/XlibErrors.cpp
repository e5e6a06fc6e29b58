// Xlib's own header, kept apart from the framework's (its macros clash with the framework's names).
#include "tests/editor/XlibErrors.h"

#include <X11/Xlib.h>

namespace
{
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}
} // namespace

void ignoreXlibErrors()
{
    XSetErrorHandler(ignoreError);
}
