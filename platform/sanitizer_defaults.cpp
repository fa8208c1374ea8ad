// Linked into the sanitized debug program only. Mesa's drivers and the X libraries keep
// process-lifetime allocations that LeakSanitizer would report at exit; our own code is not
// suppressed, so a leak of ours still fails the run. The toolkit's library is not suppressed either:
// our callbacks run with its frames on the stack, and a suppression matches any frame.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libGLX_mesa.so\n"
         "leak:libGLX.so\n"
         "leak:libGL.so\n"
         "leak:libEGL_mesa.so\n"
         "leak:libgallium\n"
         "leak:swrast_dri.so\n"
         "leak:libLLVM\n"
         "leak:libX11.so\n"
         "leak:libxcb.so\n"
         "leak:libdrm.so\n"
         "leak:libglapi.so\n";
}

// A refused allocation returns null, as it does without the sanitizer, so the program reports it
// ("Error: not enough memory ...") instead of the sanitizer ending the process.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=1:abort_on_error=0:allocator_may_return_null=1";
}
