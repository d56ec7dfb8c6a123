// Leaks of system libraries that the widget tests cannot avoid: fontconfig keeps its caches
// until the process ends, and LeakSanitizer would otherwise fail every test that lays out text.
// LeakSanitizer reads this list at exit; in a build without it the function is never called.

extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
