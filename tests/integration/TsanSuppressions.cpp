// ThreadSanitizer cannot see how libjack's lock-free ring buffer hands bytes
// from the writer to the JACK process thread: the library is not instrumented
// and orders its indices with bare memory barriers. Only the copies in and out
// of that ring are excused here; our own rings, the pump and every callback
// stay under watch. Read by the sanitizer runtime at start; an ordinary build
// never calls it.

extern "C" const char* __tsan_default_suppressions();

extern "C" const char* __tsan_default_suppressions() {
  return "race:jack_ringbuffer_peek\n"
         "race:jack_ringbuffer_read\n"
         "race:jack_ringbuffer_write\n";
}
