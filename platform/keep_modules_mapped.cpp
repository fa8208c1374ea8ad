// Replaces the C library's dlclose with one that keeps every module mapped until the process ends.
// Linked into the sanitized debug program and the tests only, never into strivex-release.
//
// Why: Mesa loads its driver with dlopen and unloads it at exit, before LeakSanitizer runs; the
// driver's stacks would then show as unknown modules that no suppression can name, and the
// suppressions in sanitizer_defaults.cpp could not keep the driver's own process-lifetime blocks out
// of the report. Nothing in the program relies on a module being unmapped: it never unloads one
// itself, and the process is about to end when Mesa does.
extern "C" int dlclose(void*) { return 0; }
