// ThreadSanitizer cannot see how libjack orders what crosses between threads:
// the library is not instrumented, its lock-free ring buffer orders its
// indices with bare memory barriers, and the server hands the port buffers
// from one client's process thread to the next through futexes in shared
// memory. Only the copies into and out of those buffers are excused here: the
// ring's own functions, and the virtual pedal's reads and writes of its JACK
// port buffers. Our rings, the pump and every callback stay under watch.
// Read by the sanitizer runtime at start; an ordinary build never calls it.

extern "C" const char* __tsan_default_suppressions();

extern "C" const char* __tsan_default_suppressions() {
  return "race:jack_ringbuffer_peek\n"
         "race:jack_ringbuffer_read\n"
         "race:jack_ringbuffer_write\n"
         "race:kr7::pedal::JackMidiEndpoint::ReadInput\n"
         "race:kr7::pedal::JackMidiEndpoint::WriteOutput\n";
}
