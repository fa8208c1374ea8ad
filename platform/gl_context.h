// Whether an OpenGL context is current on this thread. Static destruction at exit can run after the
// toolkit has destroyed the window's context; GL objects are deleted only while one is current.
#pragma once

bool RenderContextIsCurrent();
