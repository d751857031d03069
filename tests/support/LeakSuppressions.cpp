// Read by LeakSanitizer in sanitizer builds: fontconfig keeps 288 bytes of its
// first configuration substitution unreachable for the life of the process
// (once, not per call); captions and label sheets look up their font through
// it. libdbus likewise keeps its bus connection's buffers until
// dbus_shutdown(), which Qt never calls: the screen tests reach the session
// bus through it. Compiled into every test program that links the test
// support, whether or not it decodes: a static library's object would be
// left out of a program that uses nothing else from it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\n"; }
