// The widget tests under AddressSanitizer. The desktop's libraries are built without frame
// pointers, so a leak is traced back to where it began only with the slow unwinder; with
// it, what GTK's libraries keep on purpose until the process ends is left out by name.
// Without a sanitizer these are ordinary unused functions.

extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

extern "C" const char* __lsan_default_suppressions() {
  // fontconfig's caches of the fonts GTK looked up; GLib's first quark table, allocated while
  // the library loads and kept for lock-free readers after it has been outgrown.
  return "leak:libfontconfig.so\n"
         "leak:_dl_init\n";
}
