// Mesa's software renderer leaks a few small blocks and is unloaded before the
// leak check, so LeakSanitizer can neither name nor suppress them: the tests
// of the real renderer run without leak detection (read by AddressSanitizer
// builds only).
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
