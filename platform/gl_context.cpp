#include "platform/gl_context.h"

#include <GL/gl.h>

// Through the vendor-neutral dispatch, GL calls without a current context are no-ops that return 0,
// so asking for the version string is a safe probe.
bool RenderContextIsCurrent() { return glGetString(GL_VERSION) != nullptr; }
